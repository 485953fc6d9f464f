#include "cli_process.h"
#include "sim_process.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

class TestCliWithSim : public QObject
{
    Q_OBJECT

private slots:
    void threeDevicesOneSilent()
    {
        SimProcess good1;
        SimProcess silent;
        SimProcess good2;
        QVERIFY(good1.start() && silent.start({"--silent"}) && good2.start());
        const QList<int> coms{good1.comNumber(), silent.comNumber(), good2.comNumber()};

        QElapsedTimer clock;
        clock.start();
        const CliRun run = RunCli({"read", QString::number(coms[0]), QString::number(coms[1]),
                                   QString::number(coms[2]), "--json"});
        qInfo("three devices took %lld ms", clock.elapsed());
        QCOMPARE(run.exitCode, 1);

        const QList<QByteArray> lines = run.out.trimmed().split('\n');
        QCOMPARE(lines.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QJsonParseError error;
            const QJsonObject device = QJsonDocument::fromJson(lines[i], &error).object();
            QVERIFY2(error.error == QJsonParseError::NoError, lines[i].constData());
            QCOMPARE(device["com"].toInt(), coms[i]);
            QCOMPARE(device["ok"].toBool(), i != 1);
            QCOMPARE(device["error"].toString(), QString(i == 1 ? "ERROR! No response." : ""));
            if (i != 1)
                QCOMPARE(device["params"].toString(), QString("00 01 00 40 19 0A 00 04"));
        }
    }

    void probeFindsOnlyTheGenerator()
    {
        SimProcess answering;
        SimProcess silent;
        SimProcess shortAnswer;
        QVERIFY(answering.start() && silent.start({"--silent"}) &&
                shortAnswer.start({"--answer-length", "3"}));
        const QString ports = qEnvironmentVariable("XDG_RUNTIME_DIR") + "/sgsetup/ports";
        QVERIFY(QFile::link("/", ports + "/zz-not-a-port"));

        QElapsedTimer clock;
        clock.start();
        const CliRun run = RunCli({"ports", "--probe", "--json"});
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed()) + " ms"));
        QCOMPARE(run.exitCode, 0);

        QMap<QString, QString> verdicts;
        for (const QByteArray &line : run.out.trimmed().split('\n')) {
            const QJsonObject port = QJsonDocument::fromJson(line).object();
            verdicts[port["device"].toString()] = port["probe"].toString();
        }
        QCOMPARE(verdicts.values().count("generator"), 1);
        QCOMPARE(verdicts[answering.device()], QString("generator"));
        QCOMPARE(verdicts[silent.device()], QString("no answer"));
        QCOMPARE(verdicts[shortAnswer.device()], QString("no answer"));
        QCOMPARE(verdicts["/"], QString("unusable"));
        for (SimProcess *sim : {&answering, &silent, &shortAnswer}) {
            QVERIFY(sim->waitForOutput("read params"));
            QCOMPARE(sim->output().count("read params"), 1);
            QVERIFY(!sim->output().contains("write"));
        }
    }
};

QTEST_GUILESS_MAIN(TestCliWithSim)
#include "test_cli_with_sim.moc"
