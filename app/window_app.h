#pragma once

#include "app/station.h"
#include "qtcore/host_ports.h"
#include "qtcore/qt_ticker.h"
#include "remote/ports_file.h"
#include "ui/main_window.h"
#include "ui/qt_alerts.h"

namespace sg::app {

// The window front end: the main window as the transfer's view, its message boxes as the
// alerts, and one station behind them.
class WindowApp
{
public:
    explicit WindowApp(int tickMs = transfer::TICK_MS);
    WindowApp(const WindowApp &) = delete;
    WindowApp &operator=(const WindowApp &) = delete;

    void show();
    ui::MainWindow &window() { return m_window; }
    const Station<qtcore::QtTicker> &station() const { return m_station; }

private:
    qtcore::HostPortLister m_hostPorts;
    remote::RemotePortLister m_ports;
    ui::MainWindow m_window;
    ui::QtAlerts m_alerts;
    Station<qtcore::QtTicker> m_station;
};

} // namespace sg::app
