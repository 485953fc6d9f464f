#include "app/station.h"

#include "app/qt_port_link.h"

namespace sg::app {

Station::Station(const protocol::PortLister &ports, presenter::WindowView &view,
                 presenter::Alerts &alerts, int tickMs)
    : m_link(MakeQtPortLink()), m_ticker([this] { m_engine.tick(); }, tickMs),
      m_engine(*m_link, m_ticker), m_presenter(view, ports, m_engine, alerts)
{
}

bool Station::isIdle() const
{
    return m_engine.state() == transfer::TransferState::Idle && !m_ticker.isActive() &&
           !m_link->isOpen();
}

} // namespace sg::app
