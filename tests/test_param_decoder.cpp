#include "byte_text.h"
#include "model/param_decoder.h"

#include <QtTest>

using namespace sg::model;

class TestParamDecoder : public QObject
{
    Q_OBJECT

private slots:
    void divisorFor_data()
    {
        QTest::addColumn<double>("baud");
        QTest::addColumn<int>("divisor");
        QTest::addColumn<QString>("gives");
        QTest::addColumn<double>("errorPercent");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("9600") << 9600.0 << 0x40 << "9615" << 0.16 << true;
        QTest::newRow("300") << 300.0 << 0x0822 << "300" << 0.016 << true;
        QTest::newRow("115200 too far") << 115200.0 << 4 << "125000" << 8.51 << false;
        QTest::newRow("above divisor 0") << 1e6 << 0 << "625000" << -37.5 << false;
        QTest::newRow("below divisor FFFF") << 5.0 << 0xFFFF << "9.54" << 90.73 << false;
    }

    void divisorFor()
    {
        QFETCH(double, baud);
        QFETCH(int, divisor);
        QFETCH(QString, gives);
        QFETCH(double, errorPercent);
        QFETCH(bool, reachable);
        const DivisorChoice choice = *DivisorFor(baud);
        QCOMPARE(int{choice.divisor}, divisor);
        QCOMPARE(QString::fromStdString(FormatBaud(choice.baud)), gives);
        QVERIFY2(std::fabs(choice.errorPercent - errorPercent) < 0.005,
                 qPrintable(QString::number(choice.errorPercent)));
        QCOMPARE(choice.reachable, reachable);
    }

    void explain_data()
    {
        QTest::addColumn<QByteArray>("params");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("says");
        QTest::newRow("startup delay")
            << QByteArray("1901004019 0A0004") << 0 << "Startup delay 19: 25 x 4 ms = 100.0 ms";
        QTest::newRow("message delay")
            << QByteArray("0001004019 0A0004") << 4 << "Message delay 19: 25 x 4 ms = 100.0 ms";
        QTest::newRow("byte delay")
            << QByteArray("00010040190A0004") << 5 << "Byte delay 0A: 10 x 0.1 ms = 1.0 ms";
        QTest::newRow("divisor 0") << QByteArray("0001000000000000") << 2
                                   << "Baud rate 00 00: divisor 0, 10^7 / (16 x 1) = 625000 baud";
        QTest::newRow("divisor FFFF")
            << QByteArray("000DFFFF00000000") << 3
            << "Baud rate FF FF: divisor 65535, 10^7 / (16 x 65536) = 9.54 baud";
        QTest::newRow("jumper mode")
            << QByteArray("0000004000000000") << 2 << "not used while mode bit 0 is 0";
        QTest::newRow("mode bits") << QByteArray("0017000000000000") << 1
                                   << "bit 2 = 1: odd parity\n  bit 3 = 0: no even parity\n"
                                      "  bit 4 = 1: two stop bits";
        QTest::newRow("repeat forever")
            << QByteArray("0000000000000000") << 6 << "Repeat count 00: without end";
        QTest::newRow("length") << QByteArray("0000000000000004") << 7
                                << "Length 04: 4 message bytes";
    }

    void explain()
    {
        QFETCH(QByteArray, params);
        QFETCH(int, index);
        QFETCH(QString, says);
        const std::string text =
            ExplainParam(ParamsFromHex(params.replace(' ', "")), static_cast<std::size_t>(index));
        QVERIFY2(QString::fromStdString(text).contains(says), text.c_str());
    }

    void dataShowsPrintableAscii()
    {
        QCOMPARE(ExplainData({0x48, 0x69, 0x00, 0x7F}),
                 std::string("4 bytes: 48 69 00 7F\nASCII: Hi.."));
        QCOMPARE(ExplainData({}), std::string("No message bytes"));
    }
};

QTEST_APPLESS_MAIN(TestParamDecoder)
#include "test_param_decoder.moc"
