#include "app/window_app.h"

#include "app/qt_port_link.h"

namespace sg::app {

WindowApp::WindowApp(int tickMs)
    : m_ports(m_hostPorts, qtcore::UserPortsFile()), m_alerts(&m_window),
      m_station(MakeQtPortLink(), m_ports, m_window, m_alerts, tickMs)
{
    m_window.bind(m_station.presenter());
}

void WindowApp::show()
{
    m_window.show();
}

} // namespace sg::app
