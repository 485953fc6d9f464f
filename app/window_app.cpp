#include "app/window_app.h"

namespace sg::app {

WindowApp::WindowApp(int tickMs)
    : m_ports(m_hostPorts, serial::UserPortsFile()), m_alerts(&m_window),
      m_station(m_ports, m_window, m_alerts, tickMs)
{
    m_window.bind(m_station.presenter());
}

void WindowApp::show()
{
    m_window.show();
}

} // namespace sg::app
