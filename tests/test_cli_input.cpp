#include "cli_process.h"
#include "sim_process.h"

#include <QTemporaryDir>
#include <QtTest>

// Strict input: every mistake is a usage error that names what is wrong, and no byte
// reaches the device.
class TestCliInput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_sim.start());
        QVERIFY(m_dir.isValid());
        write("profile-bad-json", "{\"data\": \"0102\",\n \"params\": }\n");
        write("profile-odd-data",
              "{\n  \"data\": \"123\",\n  \"params\": \"00 01 00 40 19 0A 00\"\n}\n");
        write("profile-length",
              "{\n  \"data\": \"0102\",\n  \"params\": \"00 01 00 40 19 0A 00 03\"\n}\n");
        write("profile-extra",
              "{\n  \"data\": \"\",\n  \"params\": \"00000000000000\",\n  \"x\": 1\n}\n");
    }

    void rejected_data()
    {
        const QString com = QString::number(m_sim.comNumber());
        const QStringList params{"--params", "00 01 00 40 19 0A 00"};
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named"); // what stderr must say
        QTest::newRow("no command") << QStringList{} << "expected a command";
        QTest::newRow("unknown command") << QStringList{"write"} << "unknown command 'write'";
        QTest::newRow("COM not a number") << QStringList{"read", "x"} << "COM: expected";
        QTest::newRow("COM zero") << QStringList{"read", "0"} << "COM: expected";
        QTest::newRow("COM twice") << QStringList{"read", com, com} << "is given twice";
        QTest::newRow("save with two COMs")
            << QStringList{"read", com, "99", "--save", "p.json"} << "--save";
        QTest::newRow("odd data") << (QStringList{"store", com, "--data", "123"} + params)
                                  << "--data: expected 0 to 16 hex digits";
        QTest::newRow("data not hex")
            << (QStringList{"store", com, "--data", "0g"} + params) << "--data";
        QTest::newRow("data too long")
            << (QStringList{"store", com, "--data", QString(18, '0')} + params) << "--data";
        QTest::newRow("six params")
            << QStringList{"store", com, "--data", "", "--params", "00 01 00 40 19 0A"}
            << "--params: expected 7 or 8";
        QTest::newRow("one-digit param")
            << QStringList{"store", com, "--data", "", "--params", "0 01 00 40 19 0A 00"}
            << "--params";
        QTest::newRow("length differs")
            << QStringList{"store", com, "--data", "0102", "--params", "0001004019 0A 00 03"}
            << "byte 7 (length) is 03 but the data has 2 bytes";
        QTest::newRow("params missing")
            << QStringList{"store", com, "--data", "01"} << "expected --data HEX and --params HEX";
        QTest::newRow("profile and data")
            << (QStringList{"store", com, "--from", path("profile-odd-data"), "--data", "01"} +
                params)
            << "not both";
        QTest::newRow("profile missing")
            << QStringList{"store", com, "--from", path("nothing")} << path("nothing");
        QTest::newRow("profile not JSON")
            << QStringList{"store", com, "--from", path("profile-bad-json")}
            << path("profile-bad-json") + ":2:";
        QTest::newRow("profile odd data")
            << QStringList{"store", com, "--from", path("profile-odd-data")}
            << path("profile-odd-data") + ":2: data:";
        QTest::newRow("profile length differs")
            << QStringList{"store", com, "--from", path("profile-length")}
            << path("profile-length") + ":3: params: byte 7";
        QTest::newRow("profile unknown key")
            << QStringList{"store", com, "--from", path("profile-extra")}
            << path("profile-extra") + ":4: unknown key";
        QTest::newRow("decode seven bytes") << QStringList{"decode", "00010040190A00"} << "PARAMS";
        QTest::newRow("divisor zero") << QStringList{"divisor", "0"} << "BAUD";
        QTest::newRow("divisor text") << QStringList{"divisor", "fast"} << "BAUD";
    }

    void rejected()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        const CliRun run = RunCli(arguments);
        QCOMPARE(run.exitCode, 64);
        QVERIFY2(run.err.contains(named.toUtf8()), run.err.constData());
        QVERIFY(run.out.isEmpty());
    }

    void cleanupTestCase()
    {
        QTest::qWait(100);
        QVERIFY2(!m_sim.output().contains("read ") && !m_sim.output().contains("write "),
                 qPrintable(m_sim.output()));
    }

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &text)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    SimProcess m_sim;
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCliInput)
#include "test_cli_input.moc"
