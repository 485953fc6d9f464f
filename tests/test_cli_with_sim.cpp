#include "cli_process.h"
#include "sim_process.h"

#include <QElapsedTimer>
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
};

QTEST_GUILESS_MAIN(TestCliWithSim)
#include "test_cli_with_sim.moc"
