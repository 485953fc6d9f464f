#include "fake_field_view.h"
#include "model/normalize_fields.h"

#include "byte_text.h"

#include <QtTest>

using sg::model::Blocks;
using sg::model::NormalizeFields;

class TestNormalizeFields : public QObject
{
    Q_OBJECT

private slots:
    void data_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("length");
        QTest::newRow("initial") << "0000" << QByteArray::fromHex("0000") << "0000"
                                 << "02";
        QTest::newRow("odd count pads low digit") << "abc" << QByteArray::fromHex("abc0") << "ABC0"
                                                  << "02";
        QTest::newRow("empty") << "" << QByteArray() << ""
                               << "00";
        QTest::newRow("non-hex is zero") << "1G" << QByteArray::fromHex("10") << "10"
                                         << "01";
        QTest::newRow("single digit") << "7" << QByteArray::fromHex("70") << "70"
                                      << "01";
        QTest::newRow("sixteen digits")
            << "0123456789abcdef" << QByteArray::fromHex("0123456789abcdef") << "0123456789ABCDEF"
            << "08";
        QTest::newRow("longer text is cut to 8 bytes")
            << "0123456789ABCDEF77" << QByteArray::fromHex("0123456789abcdef") << "0123456789ABCDEF"
            << "08";
        QTest::newRow("non-ASCII is one zero digit")
            << QString(QChar(0x00E9)) + "1" << QByteArray::fromHex("01") << "01"
            << "01";
        QTest::newRow("spaces are zeros") << " 1 2" << QByteArray::fromHex("0102") << "0102"
                                          << "02";
    }

    void data()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, block);
        QFETCH(QString, shown);
        QFETCH(QString, length);

        FakeFieldView view;
        view.data = typed.toStdU16String();
        Blocks blocks;
        NormalizeFields(view, blocks);

        QCOMPARE(Hex(blocks.data), block.toHex().toUpper());
        QCOMPARE(QString::fromStdU16String(view.data), shown);
        QCOMPARE(QString::fromStdU16String(view.params[7]), length);
        QCOMPARE(blocks.params[7], static_cast<std::uint8_t>(block.size()));
    }

    void param_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("single digit is low nibble") << "5" << 0x05 << "05";
        QTest::newRow("empty") << "" << 0x00 << "00";
        QTest::newRow("not hex") << "zz" << 0x00 << "00";
        QTest::newRow("single letter") << "a" << 0x0A << "0A";
        QTest::newRow("lower case pair") << "1f" << 0x1F << "1F";
        QTest::newRow("half hex pair") << "x7" << 0x07 << "07";
        QTest::newRow("longer counts first char only") << "f12" << 0x0F << "0F";
    }

    void param()
    {
        QFETCH(QString, typed);
        QFETCH(int, value);
        QFETCH(QString, shown);

        for (std::size_t k = 0; k < 7; ++k) {
            FakeFieldView view;
            view.params[k] = typed.toStdU16String();
            Blocks blocks;
            NormalizeFields(view, blocks);
            QCOMPARE(int{blocks.params[k]}, value);
            QCOMPARE(QString::fromStdU16String(view.params[k]), shown);
        }
    }

    void lengthBoxIsAlwaysOverwritten_data()
    {
        QTest::addColumn<QString>("lengthBox");
        QTest::newRow("after a read") << "FF";
        QTest::newRow("garbage") << "zz";
        QTest::newRow("empty") << "";
    }

    void lengthBoxIsAlwaysOverwritten()
    {
        QFETCH(QString, lengthBox);
        FakeFieldView view;
        view.data = u"010203";
        view.params[7] = lengthBox.toStdU16String();
        Blocks blocks;
        NormalizeFields(view, blocks);
        QCOMPARE(QString::fromStdU16String(view.params[7]), QString("03"));
        QCOMPARE(int{blocks.params[7]}, 3);
    }

    void secondRunChangesNothing()
    {
        FakeFieldView view;
        view.data = u"a";
        view.params = {u"3", u"", u"zz", u"1f", u"G1", u"ff", u"0", u"99"};
        Blocks blocks;
        NormalizeFields(view, blocks);
        const FakeFieldView first = view;
        const Blocks firstBlocks = blocks;
        NormalizeFields(view, blocks);
        QVERIFY(view.data == first.data);
        QVERIFY(view.params == first.params);
        QVERIFY(blocks.data == firstBlocks.data && blocks.params == firstBlocks.params);
        QCOMPARE(QString::fromStdU16String(view.params[0]), QString("03"));
        QCOMPARE(QString::fromStdU16String(view.params[4]), QString("01"));
    }
};

QTEST_APPLESS_MAIN(TestNormalizeFields)
#include "test_normalize_fields.moc"
