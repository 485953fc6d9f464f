#include "byte_text.h"
#include "sim_process.h"
#include "station_rig.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {

QString Params(const FakeView &view)
{
    QString joined;
    for (const std::u16string &param : view.fields.params)
        joined += Text(param);
    return joined;
}

} // namespace

class TestTransferWithSim : public QObject
{
    Q_OBJECT

private slots:
    // A simulator that ends as asked, by any signal that asks (a closed terminal's too), takes
    // its entry and its lock with it.
    void anEndedSimulatorLeavesNothing()
    {
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            SimProcess sim;
            QVERIFY(sim.start());
            const QDir ports(qEnvironmentVariable("XDG_RUNTIME_DIR") + "/sgsetup/ports");
            const auto entries = [&ports] {
                return ports.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
            };
            QCOMPARE(entries().size(), 2);
            QCOMPARE(sim.stop(signal), 0);
            QCOMPARE(entries(), QStringList());
        }
    }

    // Scripts read the status: help is a success, a bad option is a usage error.
    void helpAndBadOptionsEndWithTheirStatus()
    {
        SimProcess help, bad;
        QCOMPARE(help.run({"--help"}), 0);
        QVERIFY(help.output().startsWith("usage: sgsim [options]\n"));
        QCOMPARE(bad.run({"--bogus"}), 2);
        QCOMPARE(bad.output(), "sgsim: unknown option '--bogus'\n" + help.output());
    }

    void readTakesTwoTicks()
    {
        SimProcess sim;
        QVERIFY(sim.start());
        StationRig rig(sim.comNumber());

        QElapsedTimer clock;
        clock.start();
        rig.presenter().readPressed();
        QVERIFY(rig.waitIdle(5000));
        const qint64 elapsed = clock.elapsed();
        qInfo("read took %lld ms", elapsed);
        QVERIFY(elapsed >= 2900 && elapsed < 3400);

        QVERIFY(rig.alerts.shown.empty());
        QCOMPARE(Params(rig.view), QString("00010040190A0004"));
        QCOMPARE(Text(rig.view.fields.data), QString("01020304"));
        QVERIFY(rig.view.readEnabled && rig.view.storeEnabled);
    }

    void storeReachesTheDevice()
    {
        SimProcess sim;
        QVERIFY(sim.start());
        StationRig rig(sim.comNumber());
        rig.view.fields.data = u"a1b2c";
        rig.view.fields.params = {u"01", u"03", u"00", u"40", u"02", u"00", u"05", u"00"};

        rig.presenter().storePressed();
        QVERIFY(rig.waitIdle(5000));
        QVERIFY(rig.alerts.shown.empty());
        QVERIFY(sim.waitForOutput("write params"));
        const QString log = sim.output();
        QVERIFY2(log.contains("write data   44 08 28 10 A1 B2 C0 A7"), qPrintable(log));
        QVERIFY2(log.contains("write params 44 0D 28 00 01 03 00 40 02 00 05 03 27"),
                 qPrintable(log));
        QCOMPARE(Text(rig.view.fields.params[7]), QString("03"));

        rig.presenter().readPressed();
        QVERIFY(rig.waitIdle(5000));
        QCOMPARE(Text(rig.view.fields.data), QString("A1B2C0"));
        QCOMPARE(Params(rig.view), QString("0103004002000503"));
    }
};

SG_SIM_TEST_MAIN(TestTransferWithSim, QTEST_QAPP_SETUP(QCoreApplication))
#include "test_transfer_with_sim.moc"
