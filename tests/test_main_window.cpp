#include "form/hint_sheet.h"
#include "message_box_closer.h"
#include "sim_process.h"
#include "ui/fonts.h"
#include "ui/hint_window.h"
#include "window_probe.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QToolTip>
#include <QtTest>

#include <optional>

using sg::app::WindowApp;
using sg::transfer::TransferState;
using sg::ui::MainWindow;

namespace {

// One control as tests/data/main_window.txt writes it; a line and a picture by place alone.
QString RowOf(QWidget *widget, const QList<QWidget *> &tabChain)
{
    const QString type = widget->metaObject()->className();
    const QString text = widget->property("text").toString();
    const QFont font = widget->font();
    const QRect at = widget->geometry();
    const bool painted = type == "QFrame" || (type == "QLabel" && text.isEmpty());
    const QString kind = type == "QLineEdit" ? "box" : type == "QPushButton" ? "button" : "";
    QStringList row{kind.isEmpty() && painted ? (type == "QFrame" ? "line" : "picture")
                    : kind.isEmpty()          ? (font.bold() ? "caption" : "note")
                                              : kind};
    row << widget->objectName() << widget->property("index").toString() << text
        << QString::number(at.x()) << QString::number(at.y()) << QString::number(at.width())
        << QString::number(at.height());
    if (painted)
        return (row << QStringList(9)).join('|');
    QString caption;
    for (const QLabel *label : widget->parentWidget()->findChildren<QLabel *>())
        caption = label->buddy() == widget ? label->text() : caption;
    const auto align = Qt::Alignment(widget->property("alignment").toInt());
    const qsizetype tab = tabChain.indexOf(widget);
    row << font.family() << QString::number(font.pixelSize()) << (font.bold() ? "bold" : "")
        << (font.italic() ? "italic" : "")
        << (align & Qt::AlignRight  ? "right"
            : align & Qt::AlignLeft ? "left"
                                    : "center")
        << (widget->isEnabled() ? "on" : "off")
        << (widget->focusPolicy() == Qt::NoFocus ? "no" : "yes")
        << (tab < 0 ? "" : QString::number(tab)) << caption;
    return row.join('|');
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { sg::ui::RegisterFonts(); }
    void cleanup() { m_app.reset(); }

    void startState()
    {
        MainWindow &window = showActive();
        QCOMPARE(Box(window, "TXTdata")->text(), QString("0000"));
        QCOMPARE(Params(window), QString("0000000000000000"));
        QCOMPARE(Box(window, "TXTcom")->text(), QString("1"));
        QVERIFY(Button(window, "CMDread")->isEnabled() && Button(window, "CMDstore")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), Box(window, "TXTcom"));
        QCOMPARE(window.size(), QSize(335, 309));
        QVERIFY(window.hintWindow() == nullptr);
        QVERIFY(m_app->station().isIdle());
    }

    void layoutAsTheTableDrawsIt()
    {
        QFile table(SG_SOURCE_DIR "/tests/data/main_window.txt");
        QVERIFY(table.open(QIODevice::ReadOnly | QIODevice::Text));
        WindowApp app;
        QList<QWidget *> chain{Box(app.window(), "TXTcom")};
        while (chain.size() < 12)
            chain << chain.last()->nextInFocusChain();
        QStringList drawn;
        for (QWidget *widget : app.window().findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            drawn << RowOf(widget, chain);
        const QStringList rows =
            QString(table.readAll()).split('\n').filter(QRegularExpression("^\\w"));
        for (const QString &row : rows)
            QVERIFY2(drawn.contains(row),
                     qPrintable("differs from " + row + "\n" + drawn.join('\n')));
        QCOMPARE(drawn.size(), rows.size());
    }

    void typingThenTabNormalizes()
    {
        MainWindow &window = showActive();
        QLineEdit *mode = Box(window, "Text1", 0);
        mode->setFocus(Qt::TabFocusReason);
        mode->selectAll();
        QTest::keyClicks(mode, "3a");
        QTest::keyClick(mode, Qt::Key_Tab);
        QCOMPARE(mode->text(), QString("3A"));
        QCOMPARE(Box(window, "Text1", 7)->text(), QString("02"));
        QCOMPARE(QApplication::focusWidget(), Box(window, "Text1", 1));

        // Leaving an untouched box normalises too.
        Box(window, "TXTdata")->setText("abc");
        Box(window, "TXTdata")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(Box(window, "TXTdata"), Qt::Key_Tab);
        QCOMPARE(Box(window, "TXTdata")->text(), QString("ABC0"));
    }

    void leavingABox_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("shown");
        QTest::newRow("to another window") << "window"
                                           << "3";
        QTest::newRow("to Help by Alt+H") << "Alt+H"
                                          << "03";
        QTest::newRow("to Help by a click") << "click"
                                            << "03";
    }

    void leavingABox()
    {
        QFETCH(QString, how);
        QFETCH(QString, shown);
        MainWindow &window = showActive();
        QLineEdit *box = Box(window, "Text1", 0);
        box->setFocus(Qt::TabFocusReason);
        box->setText("3");
        QFocusEvent toAnotherWindow(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        if (how == "window")
            QApplication::sendEvent(box, &toAnotherWindow);
        else if (how == "Alt+H")
            QTest::keyClick(&window, Qt::Key_H, Qt::AltModifier);
        else
            QTest::mouseClick(Button(window, "Command1"), Qt::LeftButton);
        QTRY_VERIFY(how == "window" || window.hintWindow());
        QCOMPARE(box->text(), shown);
    }

    void accessibleNames()
    {
        WindowApp app;
        MainWindow &window = app.window();
        const QList<QPair<QWidget *, QString>> expected{
            {Box(window, "TXTdata"), "DATA"},
            {Box(window, "Text1", 0), "Startup delay"},
            {Box(window, "Text1", 2), "Baud rate, high byte"},
            {Box(window, "Text1", 3), "Baud rate, low byte"},
            {Box(window, "Text1", 7), "len"},
            {Box(window, "TXTcom"), "COM"},
            {Button(window, "CMDread"), "Read"}};
        for (const auto &[widget, name] : expected)
            QCOMPARE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name), name);
    }

    void divisorCaptionHasIndexThree()
    {
        WindowApp app;
        for (const QLabel *label : app.window().findChildren<QLabel *>()) {
            if (label->text() == "Baud rate:" || label->text() == "---------->")
                QCOMPARE(label->property("index").toInt(), 3);
        }
    }

    void boxesRefuseExtraCharacters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("limit");
        QTest::newRow("DATA") << "TXTdata" << -1 << 16;
        QTest::newRow("parameter") << "Text1" << 3 << 2;
        QTest::newRow("COM") << "TXTcom" << -1 << 2;
    }

    void boxesRefuseExtraCharacters()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(int, limit);
        WindowApp app;
        MainWindow &window = app.window();
        QLineEdit *box = Box(window, name, index);
        box->clear();
        QTest::keyClicks(box, QString(limit + 1, QChar('7')));
        QCOMPARE(box->text(), QString(limit, QChar('7')));
        QVERIFY(box->alignment() & Qt::AlignHCenter);
    }

    void lengthBoxTakesNoInput()
    {
        WindowApp app;
        MainWindow &window = app.window();
        QLineEdit *length = Box(window, "Text1", 7);
        QVERIFY(!length->isEnabled());
        QCOMPARE(length->focusPolicy(), Qt::NoFocus);
    }

    void tabOrder()
    {
        WindowApp app;
        MainWindow &window = app.window();
        const QStringList expected{"TXTcom", "TXTdata", "Text1", "Text1",    "Text1",   "Text1",
                                   "Text1",  "Text1",   "Text1", "Command1", "CMDread", "CMDstore"};
        QWidget *widget = Box(window, "TXTcom");
        QStringList order;
        for (int i = 0; i < expected.size(); ++i) {
            order << widget->objectName();
            widget = widget->nextInFocusChain();
        }
        QCOMPARE(order, expected);
    }

    void accelerators_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("message");
        QTest::newRow("Alt+R reads") << int(Qt::Key_R) << "ERROR! Check COM settings";
        QTest::newRow("Alt+S stores") << int(Qt::Key_S) << "ERROR! Check COM settings";
        QTest::newRow("Alt+H helps") << int(Qt::Key_H) << "";
    }

    void accelerators()
    {
        QFETCH(int, key);
        QFETCH(QString, message);
        MainWindow &window = showActive();
        Box(window, "TXTcom")->setText("x"); // fails at once, so no port is touched
        MessageBoxCloser closer;
        QTest::keyClick(&window, Qt::Key(key), Qt::AltModifier);
        if (message.isEmpty()) {
            QTRY_VERIFY(window.hintWindow() && window.hintWindow()->isVisible());
            return;
        }
        QTRY_COMPARE(closer.seen.size(), 1);
        QCOMPARE(closer.seen[0].text, message);
        QCOMPARE(closer.seen[0].icon, QMessageBox::Critical);
        QVERIFY(closer.seen[0].title.isEmpty());
    }

    void enterPressesNoButtonAndTheIconHasInk()
    {
        MainWindow &window = showActive();
        Box(window, "TXTcom")->setText("x"); // a press would fail at once, with a message
        MessageBoxCloser closer;
        for (QLineEdit *box : window.findChildren<QLineEdit *>())
            QTest::keyClick(box, Qt::Key_Return);
        QTest::qWait(100);
        QVERIFY(closer.seen.isEmpty());
        const QImage icon = window.windowIcon().pixmap(32).toImage();
        int ink = 0;
        for (int y = 0; y < icon.height(); ++y) {
            for (int x = 0; x < icon.width(); ++x)
                ink += qAlpha(icon.pixel(x, y)) > 128 && qGray(icon.pixel(x, y)) < 200;
        }
        QVERIFY2(ink > 100, qPrintable(QString::number(ink)));
    }

    void helpWindowIsOneInstance()
    {
        WindowApp app;
        MainWindow &window = app.window();
        app.show();
        QPushButton *help = Button(window, "Command1");
        help->click();
        const QPointer<sg::ui::HintWindow> first = window.hintWindow();
        QVERIFY(first && first->isVisible());
        QVERIFY(first->windowTitle().isEmpty());
        QCOMPARE(first->size(), QSize(706, 306));
        QCOMPARE(first->findChild<sg::ui::HintSheet *>()->geometry(), QRect(8, 8, 689, 289));
        help->click();
        QCOMPARE(window.hintWindow(), first.data());
        first->close();
        QTRY_VERIFY(first.isNull());
        help->click();
        QVERIFY(window.hintWindow() && window.hintWindow()->isVisible());
    }

    void textFitsItsControl()
    {
        WindowApp app;
        MainWindow &window = app.window();
        for (const QLabel *label : window.findChildren<QLabel *>()) {
            const int needed = label->fontMetrics().horizontalAdvance(label->text());
            QVERIFY2(needed <= label->width(),
                     qPrintable(label->text() + ": " + QString::number(needed)));
        }
        for (const QPushButton *button : window.findChildren<QPushButton *>()) {
            const QString text = QString(button->text()).remove('&');
            QVERIFY2(button->fontMetrics().horizontalAdvance(text) + 8 <= button->width(),
                     qPrintable(text));
        }
        QLineEdit *data = Box(window, "TXTdata");
        int widestDigit = 0;
        for (const QChar digit : QString("0123456789ABCDEF"))
            widestDigit = std::max(widestDigit, data->fontMetrics().horizontalAdvance(digit));
        QVERIFY(16 * widestDigit + 6 <= data->width());

        sg::ui::HintWindow help(&window);
        const auto *sheet = help.findChild<sg::ui::HintSheet *>();
        const sg::form::HintLayout layout = sheet->layout();
        QVERIFY2(layout.widest <= sheet->width(), qPrintable(QString::number(layout.widest)));
        // Each run is drawn where the layout puts it, in its ink: the notes black, the rest blue.
        const QImage ink = const_cast<sg::ui::HintSheet *>(sheet)->grab().toImage();
        for (const sg::form::TextRun &run : layout.texts) {
            const QString text = QString::fromStdU16String(std::u16string(run.text));
            const QFontMetrics metrics(sg::ui::UiFont(run.font));
            const QRect box(run.x, run.baseline - metrics.ascent(), metrics.horizontalAdvance(text),
                            metrics.height());
            int inked = 0;
            for (int y = box.top(); y <= box.bottom(); ++y) {
                for (int x = box.left(); x <= box.right(); ++x) {
                    const QRgb p = ink.pixel(x, y);
                    inked += run.ink == sg::form::Ink::Blue ? qBlue(p) > qRed(p) + 60
                                                            : qGray(p) < 64 && qBlue(p) < 64;
                }
            }
            QVERIFY2(inked >= box.width() / 2, qPrintable(text + ": " + QString::number(inked)));
            QVERIFY2(box.right() < sheet->width(), qPrintable(text));
        }
        QVERIFY(help.rect().contains(sheet->geometry()));
        // The fraction: both parts centred on the bar, as far above it as below.
        const auto cell = [&layout](std::u16string_view text) {
            const auto run = std::find_if(layout.texts.begin(), layout.texts.end(),
                                          [text](const auto &r) { return r.text == text; });
            const QFontMetrics metrics(sg::ui::UiFont(run->font));
            return QRect(run->x, run->baseline - metrics.ascent(),
                         metrics.horizontalAdvance(QString::fromStdU16String(std::u16string(text))),
                         metrics.height());
        };
        const QRect over =
            cell(sg::form::FORMULA_NUMERATOR).united(cell(sg::form::FORMULA_EXPONENT));
        const QRect under = cell(sg::form::FORMULA_DENOMINATOR);
        const int middle = layout.barLeft + layout.barRight;
        QVERIFY(std::abs(over.left() + over.right() + 1 - middle) <= 2);
        QVERIFY(std::abs(under.left() + under.right() + 1 - middle) <= 2);
        const QRect numerator = cell(sg::form::FORMULA_NUMERATOR);
        QCOMPARE(layout.barY - (numerator.top() + numerator.height()), under.top() - layout.barY);
        // Antialiased: the frames' round corners shade between the blue and the white.
        int shaded = 0;
        for (const sg::form::FrameRun &frame : layout.frames) {
            for (int y = frame.y; y < frame.y + frame.radius; ++y) {
                for (int x = frame.x; x < frame.x + frame.radius; ++x) {
                    const QRgb p = ink.pixel(x, y);
                    shaded += p != qRgb(255, 255, 255) && p != qRgb(0x1F, 0x3A, 0x93);
                }
            }
        }
        QVERIFY(shaded > 0);
    }

    // Ink of "Mode:" in bold against regular, at the captions' size.
    void boldLooksBold()
    {
        const auto ink = [](const QFont &font) {
            QImage image(80, 20, QImage::Format_Grayscale8);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.setFont(font);
            painter.drawText(2, 15, "Mode:");
            painter.end();
            int dark = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x)
                    dark += qGray(image.pixel(x, y)) < 110;
            }
            return dark;
        };
        const int bold = ink(sg::ui::UiFont(8.25, true));
        const int regular = ink(sg::ui::UiFont(8.25, false));
        QVERIFY2(bold * 10 >= regular * 13, qPrintable(QString("%1 vs %2").arg(bold).arg(regular)));
    }

    void comTooltipNamesTheSimulator()
    {
        SimProcess sim;
        QVERIFY(sim.start());
        WindowApp app;
        MainWindow &window = ShowOnPort(app, sim.comNumber());
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QLineEdit *com = Box(window, "TXTcom");
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), com->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(com, &hover);
        const QString line = QString("COM%1  %2").arg(sim.comNumber()).arg(sim.device());
        QVERIFY2(QToolTip::text().contains(line), qPrintable(QToolTip::text()));
    }

    void helpStaysUsableDuringTransfer()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--silent"}));
        WindowApp app;
        MainWindow &window = ShowOnPort(app, sim.comNumber());
        MessageBoxCloser closer;
        Button(window, "CMDread")->click();
        QCOMPARE(app.station().engine().state(), TransferState::ReadCheckParams);
        QVERIFY(!Button(window, "CMDread")->isEnabled() &&
                !Button(window, "CMDstore")->isEnabled());
        QVERIFY(Button(window, "Command1")->isEnabled());
        Button(window, "Command1")->click();
        QVERIFY(window.hintWindow()->isVisible());

        QVERIFY(Idle(app, 4000));
        QCOMPARE(closer.seen.size(), 1);
        QCOMPARE(closer.seen[0].text, QString("ERROR! No response."));
        QCOMPARE(closer.seen[0].icon, QMessageBox::Warning);
        QVERIFY(Button(window, "CMDread")->isEnabled() && Button(window, "CMDstore")->isEnabled());
        QCOMPARE(Params(window), QString("0000000000000002"));
    }

    void readChangeStoreReadBack()
    {
        SimProcess sim;
        QVERIFY(sim.start());
        WindowApp app;
        MainWindow &window = ShowOnPort(app, sim.comNumber());
        MessageBoxCloser closer;

        Button(window, "CMDread")->click();
        QVERIFY(Idle(app, 5000));
        QCOMPARE(Params(window), QString("00010040190A0004"));
        QCOMPARE(Box(window, "TXTdata")->text(), QString("01020304"));

        Box(window, "TXTdata")->setText("cafe");
        Box(window, "Text1", 6)->setText("3");
        Button(window, "CMDstore")->click();
        QVERIFY(Idle(app, 5000));
        QVERIFY(sim.waitForOutput("write params"));
        QVERIFY2(sim.output().contains("write data   44 07 28 10 CA FE"), qPrintable(sim.output()));

        Box(window, "TXTdata")->setText("");
        Button(window, "CMDread")->click();
        QVERIFY(Idle(app, 5000));
        QCOMPARE(Box(window, "TXTdata")->text(), QString("CAFE"));
        QCOMPARE(Params(window), QString("00010040190A0302"));
        QVERIFY(closer.seen.isEmpty());
    }

    // A number from the user's ports file reaches a simulator behind Debian's ser2net.
    void readsANumberFromThePortsFile()
    {
        SimProcess sim;
        QVERIFY(sim.start());
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const QString port = QString::number(probe.serverPort());
        probe.close();
        QTemporaryDir config;
        const auto write = [&config](const QString &name, const QString &text) {
            QFile file(config.filePath(name));
            return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0;
        };
        QVERIFY(write("ser2net.yaml",
                      QString("connection: &c\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%1\n"
                              "  connector: serialdev,%2,9600n81,local\n")
                          .arg(port, sim.device())));
        QProcess server;
        server.start("ser2net",
                     {"-n", "-c", config.filePath("ser2net.yaml"), "-P", config.filePath("pid")});
        QVERIFY(QTest::qWaitFor(
            [&] { return QTcpSocket().bind(QHostAddress::LocalHost, port.toUShort()) == false; },
            5000));
        QVERIFY(QDir(config.path()).mkdir("sgsetup"));
        QVERIFY(write("sgsetup/ports", "77 rfc2217://127.0.0.1:" + port + " bench 3\n"));
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());

        WindowApp app;
        MainWindow &window = ShowOnPort(app, 77);
        MessageBoxCloser closer;
        Button(window, "CMDread")->click();
        QVERIFY(Idle(app, 5000));
        qunsetenv("XDG_CONFIG_HOME");
        QVERIFY(closer.seen.isEmpty());
        QCOMPARE(Params(window), QString("00010040190A0004"));
        QCOMPARE(Box(window, "TXTdata")->text(), QString("01020304"));
        server.kill();
        server.waitForFinished();
    }

private:
    // A fresh window, shown and holding the focus as a user finds it; cleanup() closes it.
    MainWindow &showActive()
    {
        m_app.emplace();
        if (!ShowActive(*m_app))
            QTest::qFail("the window never became active", __FILE__, __LINE__);
        return m_app->window();
    }

    std::optional<WindowApp> m_app;
};

SG_SIM_TEST_MAIN(TestMainWindow, QTEST_MAIN_SETUP())
#include "test_main_window.moc"
