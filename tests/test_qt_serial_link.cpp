#include "byte_text.h"
#include "process_stats.h"
#include "qtcore/qt_serial_link.h"
#include "sim_process.h"

#include <QSerialPort>
#include <QtTest>

#include <tuple>

using sg::model::ByteString;
using sg::qtcore::QtSerialLink;

namespace {

const ByteString READ_PARAMS{0x44, 0x05, 0x18, 0x00, 0x59};

// Gathers what arrives, the way the transfer engine does.
class Collector : public sg::protocol::SerialLinkListener
{
public:
    explicit Collector(QtSerialLink &link) : m_link(link) { link.setListener(this); }
    void bytesArrived() override
    {
        const ByteString bytes = m_link.takeInput();
        received.insert(received.end(), bytes.begin(), bytes.end());
        ++notifications;
        lastMs = clock.elapsed();
    }
    void deviceLost() override { ++losses; }

    ByteString received;
    int notifications = 0;
    QElapsedTimer clock; // started as the request goes
    qint64 lastMs = -1;
    int losses = 0;

private:
    QtSerialLink &m_link;
};

bool OpenAndAskForParams(QtSerialLink &link, const QString &device)
{
    return link.open(device.toStdString()) && link.send(READ_PARAMS);
}

} // namespace

class TestQtSerialLink : public QObject
{
    Q_OBJECT

private slots:
    void readRequest_data()
    {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("whole") << QStringList{} << QByteArray("4405180059440B00010040190A000419");
        QTest::newRow("in pieces")
            << QStringList{"--split"} << QByteArray("4405180059440B00010040190A000419");
        QTest::newRow("at the line's rate")
            << QStringList{"--line-rate"} << QByteArray("4405180059440B00010040190A000419");
        QTest::newRow("stray byte") << QStringList{"--answer-length", "12"}
                                    << QByteArray("4405180059440B00010040190A00041900");
        QTest::newRow("nothing connected") << QStringList{"--silent", "--no-echo"} << QByteArray();
    }

    void readRequest()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(QByteArray, expected);
        SimProcess sim;
        QVERIFY(sim.start(simArgs));
        QtSerialLink link;
        Collector collector(link);
        QVERIFY2(link.open(sim.device().toStdString()), link.lastError().c_str());
        collector.clock.start();
        QVERIFY(link.send(READ_PARAMS));
        if (expected.isEmpty())
            QTest::qWait(150); // nothing will come: give it the time to show otherwise
        QTRY_COMPARE_WITH_TIMEOUT(Hex(collector.received), expected, 5000);
        if (simArgs.contains("--split"))
            QVERIFY(collector.notifications >= 2);
        if (simArgs.contains("--line-rate")) // 16 bytes, 1.04 ms each, after the request
            QVERIFY(collector.lastMs >= 16);
        link.close();
        QVERIFY(!link.isOpen());
    }

    void missingDeviceFailsToOpen()
    {
        SimProcess sim;
        QVERIFY(sim.start());
        QtSerialLink link;
        sim.stop();
        QVERIFY(!link.open(sim.device().toStdString()));
        QVERIFY2(QString::fromStdString(link.lastError()).startsWith(sim.device() + ": "),
                 link.lastError().c_str());
    }

    // The simulator answers only a line set as the device's is: anything else is noise, and
    // each spell of it is noted, even one on the same wrong setting as before.
    void wrongLineIsNoise()
    {
        SimProcess sim;
        QVERIFY(sim.start());
        QSerialPort port(sim.device());
        QVERIFY(port.open(QIODevice::ReadWrite));
        const QString note = "sgsim: line is 19200 8N1, not 9600 8N1 raw: noise";
        for (const auto &[rate, answer, notes] : {std::tuple{19200, "4405180059", 1},
                                                  {9600, "4405180059440B00010040190A000419", 1},
                                                  {19200, "4405180059", 2}}) {
            QVERIFY(port.setBaudRate(rate));
            port.write(reinterpret_cast<const char *>(READ_PARAMS.data()),
                       static_cast<qint64>(READ_PARAMS.size()));
            QByteArray heard;
            QTRY_COMPARE((heard += port.readAll()).toHex().toUpper(), QByteArray(answer));
            QTRY_COMPARE(sim.output().count(note), notes);
        }
        QTest::qWait(300);
        QCOMPARE(port.readAll(), QByteArray()); // the noise was not answered late
    }

    // A tool that pauses fills the line: a request heard meanwhile is still answered, and the
    // garbage behind each answer waits for room until it goes stale.
    void answersWaitThroughPause()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--flood-bytes", "65536"}));
        QSerialPort port(sim.device());
        QVERIFY(port.open(QIODevice::ReadWrite));
        QByteArray expected;
        for (int request = 0; request < 2; ++request) {
            port.write(reinterpret_cast<const char *>(READ_PARAMS.data()),
                       static_cast<qint64>(READ_PARAMS.size()));
            QVERIFY(port.flush());
            QTest::qSleep(100); // nothing read: the line is full long before the flood is out
            expected += QByteArray::fromHex("4405180059440B00010040190A000419");
            for (int i = 0; i < 65536; ++i)
                expected += static_cast<char>(i * 131 + 7);
        }
        QByteArray heard;
        while (port.waitForReadyRead(200))
            heard += port.readAll();
        QCOMPARE(heard.size(), expected.size());
        QCOMPARE(heard, expected);
    }

    void busyPortFailsForSecondHolder()
    {
        SimProcess sim;
        QVERIFY(sim.start());
        QtSerialLink first;
        QtSerialLink second;
        const std::string device = sim.device().toStdString();
        QVERIFY(first.open(device));
        QVERIFY(!second.open(device));
        QVERIFY2(QString::fromStdString(second.lastError())
                     .startsWith(sim.device() + ": in use by another program ("),
                 second.lastError().c_str());
        first.close();
        QVERIFY(second.open(device));
    }

    void vanishingDeviceLeavesProcessIdle()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--unplug-after", "1"}));
        QtSerialLink link;
        Collector collector(link);
        QVERIFY2(OpenAndAskForParams(link, sim.device()), link.lastError().c_str());
        QTRY_COMPARE_WITH_TIMEOUT(collector.losses, 1, 2000);
        QVERIFY(!link.isOpen());
        QVERIFY2(QString::fromStdString(link.lastError())
                     .startsWith(sim.device() + ": the adapter was removed ("),
                 link.lastError().c_str());

        const double before = CpuSeconds();
        QTest::qWait(1000);
        QVERIFY2(CpuSeconds() - before < 0.05, "busy after the device vanished");
        QCOMPARE(collector.losses, 1);
    }

    void staleBytesAreDiscardedOnOpen()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--delay-ms", "100"}));
        QtSerialLink link;
        Collector collector(link);
        QVERIFY2(OpenAndAskForParams(link, sim.device()), link.lastError().c_str());
        QTRY_COMPARE_WITH_TIMEOUT(collector.received.size(), std::size_t{5}, 1000);
        link.close();
        QVERIFY(sim.waitForOutput("answer sent")); // it lands while the port is closed
        collector.received.clear();
        QVERIFY(link.open(sim.device().toStdString()));
        QTest::qWait(100);
        QCOMPARE(Hex(collector.received), QByteArray());
    }
};

SG_SIM_TEST_MAIN(TestQtSerialLink, QTEST_QAPP_SETUP(QCoreApplication))
#include "test_qt_serial_link.moc"
