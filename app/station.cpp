#include "app/station.h"

namespace sg::app {

Station::Station(const protocol::PortLister &ports, transfer::TransferView &view,
                 transfer::Alerts &alerts, int tickMs)
    : m_ticker([this] { m_controller.tick(); }, tickMs),
      m_controller(view, ports, m_link, m_ticker, alerts)
{
}

bool Station::isIdle() const
{
    return m_controller.state() == transfer::TransferState::Idle && !m_ticker.isActive() &&
           !m_link.isOpen();
}

} // namespace sg::app
