#pragma once

#include "app/station.h"
#include "core/fake_transfer.h"
#include "serial/host_ports.h"

#include <QString>
#include <QTest>

// The application's own station on a real port; only the window's view and boxes are faked.
struct StationRig
{
    Journal journal;
    FakeView view{journal};
    FakeAlerts alerts{journal};
    sg::serial::HostPortLister ports;
    sg::app::Station station;

    explicit StationRig(int com, int tickMs = sg::transfer::TICK_MS)
        : station(ports, view, alerts, tickMs)
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
