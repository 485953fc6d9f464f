#include "sim/line_check.h"

#include <QtTest>

#include <functional>

using Setting = std::function<void(termios &)>;
Q_DECLARE_METATYPE(Setting)

class TestLineCheck : public QObject
{
    Q_OBJECT

private slots:
    void fault_data()
    {
        QTest::addColumn<Setting>("change");
        QTest::addColumn<QString>("fault");
        QTest::newRow("9600 8N1 raw") << Setting([](termios &) {}) << QString();
        QTest::newRow("19200") << Setting([](termios &t) { cfsetspeed(&t, B19200); })
                               << "19200 8N1";
        QTest::newRow("even parity")
            << Setting([](termios &t) { t.c_cflag |= PARENB; }) << "9600 8E1";
        QTest::newRow("odd, 7 bits, two stops") << Setting([](termios &t) {
            t.c_cflag = (t.c_cflag & ~CSIZE) | CS7 | PARENB | PARODD | CSTOPB;
        }) << "9600 7O2";
        QTest::newRow("XON/XOFF") << Setting([](termios &t) { t.c_iflag |= IXON | IXOFF; })
                                  << "9600 8N1, IXON IXOFF";
        QTest::newRow("RTS/CTS") << Setting([](termios &t) { t.c_cflag |= CRTSCTS; })
                                 << "9600 8N1, CRTSCTS";
        QTest::newRow("cooked") << Setting([](termios &t) {
            t.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
            t.c_iflag |= ICRNL | INLCR | IGNCR | ISTRIP;
            t.c_oflag |= OPOST;
        }) << "9600 8N1, ICANON ECHO ISIG IEXTEN ICRNL INLCR IGNCR ISTRIP OPOST";
    }

    void fault()
    {
        QFETCH(Setting, change);
        QFETCH(QString, fault);
        termios line{};
        cfmakeraw(&line);
        cfsetspeed(&line, B9600);
        change(line);
        const std::optional<std::string> found = sg::sim::LineFault(line);
        QCOMPARE(QString::fromStdString(found.value_or("")), fault);
    }
};

QTEST_APPLESS_MAIN(TestLineCheck)
#include "test_line_check.moc"
