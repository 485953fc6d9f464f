#include "protocol/port_catalog.h"

#include <QtTest>

using namespace sg::protocol;

class TestPortCatalog : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number"); // -1: not a number
        QTest::newRow("one digit") << "1" << 1;
        QTest::newRow("two digits") << "12" << 12;
        QTest::newRow("spaces around") << " 3 " << 3;
        QTest::newRow("leading zero") << "07" << 7;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("only spaces") << "  " << -1;
        QTest::newRow("letter") << "x" << -1;
        QTest::newRow("sign") << "-1" << -1;
        QTest::newRow("inner space") << "1 2" << -1;
        QTest::newRow("three digits") << "100" << -1;
        QTest::newRow("fullwidth digit") << QString(QChar(0xFF11)) << -1;
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        const std::optional<int> parsed = ParseComNumber(text.toStdU16String());
        QCOMPARE(parsed.value_or(-1), number);
    }

    void numbersCountFromOne()
    {
        const PortCatalog catalog({{"ttyS0", "/dev/ttyS0", "", "", 0},
                                   {"sgsim-1", "/dev/pts/4", "sgsim device simulator", "", 0}});
        QCOMPARE(catalog.text(),
                 std::string("COM1  /dev/ttyS0\nCOM2  /dev/pts/4  sgsim device simulator"));
        QCOMPARE(catalog.find(2)->device, std::string("/dev/pts/4"));
        QVERIFY(!catalog.find(0) && !catalog.find(3));
        QCOMPARE(catalog.numberOf("sgsim-1"), 2);
        QCOMPARE(catalog.numberOf("sgsim-2"), 0);
    }
};

QTEST_APPLESS_MAIN(TestPortCatalog)
#include "test_port_catalog.moc"
