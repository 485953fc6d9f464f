#include "app/win32_window_app.h"

namespace sg::app {

Win32WindowApp::Win32WindowApp(win32::MessageLoop &loop)
    : m_link(loop), m_ticker([this] { m_controller.tick(); }),
      m_window(loop, {.readPressed = [this] { m_controller.startRead(); },
                      .storePressed = [this] { m_controller.startStore(); },
                      .entryBoxLeft = [this] { m_controller.entryBoxLeft(); }}),
      m_alerts(m_window.handle()), m_controller(m_window, m_ports, m_link, m_ticker, m_alerts)
{
}

void Win32WindowApp::show()
{
    m_window.show();
    m_controller.windowOpened();
}

} // namespace sg::app
