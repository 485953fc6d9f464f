#pragma once

#include "app/station.h"
#include "remote/ports_file.h"
#include "win32/acc_prop_api.h"
#include "win32/main_window.h"
#include "win32/message_box_alerts.h"
#include "win32/message_loop.h"
#include "win32/serial_ports.h"
#include "win32/win32_ticker.h"

namespace sg::app {

// The Windows front end: the Win32 window as the transfer's view, its message boxes as the
// alerts, and one station behind them.
class Win32WindowApp
{
public:
    explicit Win32WindowApp(win32::MessageLoop &loop);
    Win32WindowApp(const Win32WindowApp &) = delete;
    Win32WindowApp &operator=(const Win32WindowApp &) = delete;

    void show();

private:
    win32::SerialPortLister m_localPorts;
    remote::RemotePortLister m_ports;
    win32::SystemAccProps m_annotations;
    win32::MainWindow m_window;
    win32::MessageBoxAlerts m_alerts;
    Station<win32::Win32Ticker> m_station;
};

} // namespace sg::app
