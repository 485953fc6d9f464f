#include "app/win32_window_app.h"

#include "app/win32_port_link.h"

namespace sg::app {

Win32WindowApp::Win32WindowApp(win32::MessageLoop &loop)
    : m_ports(m_localPorts, win32::UserPortsFile()), m_window(loop, m_annotations),
      m_alerts(m_window.handle()), m_station(MakeWin32PortLink(loop), m_ports, m_window, m_alerts)
{
    m_window.bind(m_station.presenter());
}

void Win32WindowApp::show()
{
    m_window.show();
}

} // namespace sg::app
