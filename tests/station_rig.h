#pragma once

#include "app/qt_port_link.h"
#include "app/station.h"
#include "core/fake_transfer.h"
#include "qtcore/host_ports.h"
#include "qtcore/qt_ticker.h"

#include <QString>
#include <QTest>

// The application's own station on a real port; only the window's view and boxes are faked.
struct StationRig
{
    Journal journal;
    FakeView view{journal};
    FakeAlerts alerts{journal};
    sg::qtcore::HostPortLister ports;
    sg::app::Station<sg::qtcore::QtTicker> station;

    explicit StationRig(int com, int tickMs = sg::transfer::TICK_MS)
        : station(sg::app::MakeQtPortLink(), ports, view, alerts, tickMs)
    {
        view.com = QString::number(com).toStdU16String();
    }
    sg::presenter::WindowPresenter &presenter() { return station.presenter(); }
    // Waits for the transfer to end; true when it ended in order.
    bool waitIdle(int timeoutMs)
    {
        (void)QTest::qWaitFor([&] { return station.isIdle(); }, timeoutMs);
        return station.isIdle();
    }
};
