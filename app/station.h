#pragma once

#include "presenter/window_presenter.h"
#include "protocol/serial_link.h"
#include "transfer/transfer_engine.h"

#include <memory>

namespace sg::app {

// The window's transfers: the link, the platform's ticker and the engine, and the
// presenter that runs them for a window's view and alerts, finding ports in ports. Both
// windows are assembled around one.
template <typename PlatformTicker> class Station
{
public:
    Station(std::unique_ptr<protocol::SerialLink> link, const protocol::PortLister &ports,
            presenter::WindowView &view, presenter::Alerts &alerts, int tickMs = transfer::TICK_MS)
        : m_link(std::move(link)), m_ticker([this] { m_engine.tick(); }, tickMs),
          m_engine(*m_link, m_ticker), m_presenter(view, ports, m_engine, alerts)
    {
    }
    Station(const Station &) = delete;
    Station &operator=(const Station &) = delete;

    presenter::WindowPresenter &presenter() { return m_presenter; }
    const transfer::TransferEngine &engine() const { return m_engine; }
    // No transfer running: state Idle, ticker stopped, port closed.
    bool isIdle() const
    {
        return m_engine.state() == transfer::TransferState::Idle && !m_ticker.isActive() &&
               !m_link->isOpen();
    }

private:
    std::unique_ptr<protocol::SerialLink> m_link;
    PlatformTicker m_ticker;
    transfer::TransferEngine m_engine;
    presenter::WindowPresenter m_presenter;
};

} // namespace sg::app
