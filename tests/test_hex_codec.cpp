#include "model/hex_codec.h"

#include <QtTest>

using sg::model::ByteToHex;
using sg::model::HexDigitValue;

class TestHexCodec : public QObject
{
    Q_OBJECT

private slots:
    void byteToHex_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("hex");
        QTest::newRow("zero") << 0 << "00";
        QTest::newRow("ten has a leading zero") << 10 << "0A";
        QTest::newRow("max") << 255 << "FF";
        QTest::newRow("bit 8 ignored") << 256 << "00";
        QTest::newRow("high bits ignored") << 0x1A5 << "A5";
        QTest::newRow("negative keeps low bits") << -1 << "FF";
    }

    void byteToHex()
    {
        QFETCH(int, value);
        QFETCH(QString, hex);
        QCOMPARE(QString::fromStdU16String(ByteToHex(value)), hex);
    }

    void hexDigitValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("digit") << "7" << 7;
        QTest::newRow("lower") << "c" << 12;
        QTest::newRow("upper") << "C" << 12;
        QTest::newRow("f") << "f" << 15;
        QTest::newRow("past F") << "G" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("two digits") << "1F" << 0;
        QTest::newRow("space") << " " << 0;
        QTest::newRow("non-ASCII") << QString(QChar(0x00E9)) << 0;
        QTest::newRow("fullwidth one") << QString(QChar(0xFF11)) << 0;
    }

    void hexDigitValue()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(HexDigitValue(text.toStdU16String()), value);
    }

    void everyByteRoundTrips()
    {
        for (int byte = 0; byte < 256; ++byte) {
            const std::u16string hex = ByteToHex(byte);
            QCOMPARE(hex.size(), std::size_t{2});
            const int back = HexDigitValue(hex.substr(0, 1)) * 16 + HexDigitValue(hex.substr(1, 1));
            QCOMPARE(back, byte);
        }
    }
};

QTEST_APPLESS_MAIN(TestHexCodec)
#include "test_hex_codec.moc"
