#include "process_stats.h"
#include "sim_process.h"
#include "station_rig.h"

#include <QtTest>

using namespace sg::transfer;

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void twoHundredTransfers()
    {
        SimProcess sim;
        QVERIFY(sim.start());
        StationRig rig(sim.comNumber(), 40); // a short tick for the soak only
        FakeView &view = rig.view;
        sg::presenter::WindowPresenter &transfers = rig.presenter();

        qint64 residentAt20 = 0;
        qsizetype descriptorsAt20 = 0;
        for (int n = 1; n <= 200; ++n) {
            const bool read = n % 2 == 1;
            if (!read)
                view.fields.data = QString::number(n, 16).rightJustified(4, '0').toStdU16String();
            read ? transfers.readPressed() : transfers.storePressed();
            QVERIFY(rig.waitIdle(2000));
            QVERIFY2(rig.alerts.shown.empty(), qPrintable(QString("transfer %1 failed").arg(n)));
            if (read && n > 1) {
                const QString stored = QString::number(n - 1, 16).rightJustified(4, '0').toUpper();
                QCOMPARE(QString::fromStdU16String(view.fields.data), stored);
            }
            if (n == 20) {
                residentAt20 = ResidentBytes();
                descriptorsAt20 = OpenDescriptors();
            }
        }
        const qint64 residentAt200 = ResidentBytes();
        qInfo("resident memory: %lld KiB at transfer 20, %lld KiB at transfer 200",
              residentAt20 / 1024, residentAt200 / 1024);
#ifndef SG_SANITIZED // the sanitizer's quarantine holds on to freed memory by design
        QVERIFY(residentAt200 - residentAt20 <= 1024 * 1024);
#endif
        QCOMPARE(OpenDescriptors(), descriptorsAt20);
    }
};

SG_SIM_TEST_MAIN(TestSoak, QTEST_QAPP_SETUP(QCoreApplication))
#include "test_soak.moc"
