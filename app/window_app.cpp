#include "app/window_app.h"

namespace sg::app {

WindowApp::WindowApp(int tickMs)
    : m_window(m_ports), m_alerts(&m_window), m_station(m_ports, m_window, m_alerts, tickMs)
{
    transfer::TransferController &controller = m_station.controller();
    QObject::connect(&m_window, &ui::MainWindow::readPressed, &m_window,
                     [&controller] { controller.startRead(); });
    QObject::connect(&m_window, &ui::MainWindow::storePressed, &m_window,
                     [&controller] { controller.startStore(); });
    QObject::connect(&m_window, &ui::MainWindow::entryBoxLeft, &m_window,
                     [&controller] { controller.entryBoxLeft(); });
}

void WindowApp::show()
{
    m_window.show();
    m_station.controller().windowOpened();
}

} // namespace sg::app
