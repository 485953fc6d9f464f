#include "message_box_closer.h"
#include "process_stats.h"
#include "protocol/frames.h"
#include "sim_process.h"
#include "ui/fonts.h"
#include "window_probe.h"

#include <QLineEdit>
#include <QSerialPort>
#include <QPushButton>
#include <QtTest>

#include <memory>

using sg::app::WindowApp;
using sg::transfer::TransferState;
using sg::ui::MainWindow;

namespace {

const QString NO_RESPONSE = "ERROR! No response.";
const QString CHECK_COM = "ERROR! Check COM settings";
const QString UNCHANGED = "0000000000000002"; // normalised at the start, nothing read
const QString FROM_DEVICE = "00010040190A0004";

// A healthy device on a fresh simulator: the window must work as if nothing happened.
bool NextReadWorks(WindowApp &app, std::unique_ptr<SimProcess> &sim)
{
    MainWindow &window = app.window();
    sim = std::make_unique<SimProcess>();
    if (!sim->start())
        return false;
    Box(window, "TXTcom")->setText(QString::number(sim->comNumber()));
    Box(window, "TXTdata")->setText("");
    Button(window, "CMDread")->click();
    return Idle(app, 5000) && Params(window) == FROM_DEVICE &&
           Box(window, "TXTdata")->text() == "01020304";
}

} // namespace

class TestFaultMatrix : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { sg::ui::RegisterFonts(); }

    void fault_data()
    {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("portTrouble"); // "", "busy" or "missing"
        QTest::addColumn<QString>("message");     // empty: no box at all
        QTest::addColumn<QString>("params");
        QTest::addColumn<QString>("data");

        QTest::newRow("nothing answering") << QStringList{"--silent", "--no-echo"} << "CMDread"
                                           << "" << NO_RESPONSE << UNCHANGED << "0000";
        QTest::newRow("short answer") << QStringList{"--answer-length", "10"} << "CMDread"
                                      << "" << NO_RESPONSE << UNCHANGED << "0000";
        QTest::newRow("one stray byte") << QStringList{"--answer-length", "12"} << "CMDread"
                                        << "" << NO_RESPONSE << UNCHANGED << "0000";
        QTest::newRow("answer in three pieces") << QStringList{"--split"} << "CMDread"
                                                << ""
                                                << "" << FROM_DEVICE << "01020304";
        QTest::newRow("answer after the tick") << QStringList{"--delay-ms", "1700"} << "CMDread"
                                               << "" << NO_RESPONSE << UNCHANGED << "0000";
        QTest::newRow("unplugged before the echo")
            << QStringList{"--unplug-after", "0"} << "CMDread"
            << "" << CHECK_COM << UNCHANGED << "0000";
        QTest::newRow("unplugged mid-answer")
            << QStringList{"--split", "--unplug-after", "1"} << "CMDread"
            << "" << CHECK_COM << UNCHANGED << "0000";
        QTest::newRow("unplugged between store frames")
            << QStringList{"--unplug-after", "1"} << "CMDstore"
            << "" << CHECK_COM << UNCHANGED << "0000";
        QTest::newRow("port busy") << QStringList{} << "CMDread"
                                   << "busy" << CHECK_COM << UNCHANGED << "0000";
        QTest::newRow("port path missing") << QStringList{} << "CMDstore"
                                           << "missing" << CHECK_COM << UNCHANGED << "0000";
        QTest::newRow("1 MiB of garbage") << QStringList{"--flood-bytes", "1048576"} << "CMDread"
                                          << "" << NO_RESPONSE << UNCHANGED << "0000";
    }

    void fault()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(QString, button);
        QFETCH(QString, portTrouble);
        QFETCH(QString, message);
        QFETCH(QString, params);
        QFETCH(QString, data);

        auto sim = std::make_unique<SimProcess>();
        QVERIFY(sim->start(simArgs));
        WindowApp app;
        MainWindow &window = ShowOnPort(app, sim->comNumber());
        MessageBoxCloser closer;

        QSerialPort holder(sim->device());
        if (portTrouble == "busy")
            QVERIFY(holder.open(QIODevice::ReadWrite));
        if (portTrouble == "missing")
            sim->stop();
        const qint64 residentBefore = ResidentBytes();

        Button(window, button)->click();
        QVERIFY(Idle(app, 5000));
        QTest::qWait(100); // a late second box would show up here
        QCOMPARE(closer.seen.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(closer.seen[0].text, message);
            QCOMPARE(closer.seen[0].icon,
                     message == NO_RESPONSE ? QMessageBox::Warning : QMessageBox::Critical);
        }
        QCOMPARE(Params(window), params);
        QCOMPARE(Box(window, "TXTdata")->text(), data);
        QVERIFY(app.station().engine().buffers().rxBuffer.size() <= sg::protocol::RX_CAPACITY);
        QVERIFY(ResidentBytes() - residentBefore < 16 * 1024 * 1024);

        const double cpuBefore = CpuSeconds();
        QTest::qWait(500);
        QVERIFY2(CpuSeconds() - cpuBefore < 0.05, "the process is busy after the fault");

        holder.close();
        sim.reset();
        QVERIFY(NextReadWorks(app, sim));
        QCOMPARE(closer.seen.size(), message.isEmpty() ? 0 : 1);
    }

    void strangeCharactersInEveryBox()
    {
        auto sim = std::make_unique<SimProcess>();
        QVERIFY(sim->start());
        WindowApp app;
        MainWindow &window = app.window();
        QVERIFY(ShowActive(app));
        MessageBoxCloser closer;

        const QString strange = QString::fromUtf8("\u00e9\t\x01\u4e2d\U0001F600ab");
        Box(window, "TXTdata")->setText(strange);
        for (int i = 0; i < 7; ++i)
            Box(window, "Text1", i)->setText(strange.left(2));
        Box(window, "Text1", 0)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(Box(window, "Text1", 0), Qt::Key_Tab);
        QCOMPARE(Box(window, "TXTdata")->text(), QString("000000AB"));
        QCOMPARE(Params(window), QString("0000000000000004"));

        Box(window, "TXTcom")->setText(QString::fromUtf8("\u00e9\x01"));
        Button(window, "CMDread")->click();
        QTRY_COMPARE(closer.seen.size(), 1);
        QCOMPARE(closer.seen[0].text, CHECK_COM);
        QVERIFY(Idle(app, 100));

        QVERIFY(NextReadWorks(app, sim));
    }
};

SG_SIM_TEST_MAIN(TestFaultMatrix, QTEST_MAIN_SETUP())
#include "test_fault_matrix.moc"
