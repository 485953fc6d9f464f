#include "transfer/com_number.h"

#include <QtTest>

using sg::transfer::ParseComNumber;

class TestComNumber : public QObject
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
};

QTEST_APPLESS_MAIN(TestComNumber)
#include "test_com_number.moc"
