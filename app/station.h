#pragma once

#include "presenter/window_presenter.h"
#include "serial/qt_ticker.h"
#include "transfer/transfer_engine.h"

#include <memory>

namespace sg::app {

// The window's transfers on a real serial port: the link, the ticker and the engine, and
// the presenter that runs them for a window's view and alerts, finding ports in ports.
class Station
{
public:
    Station(const protocol::PortLister &ports, presenter::WindowView &view,
            presenter::Alerts &alerts, int tickMs = transfer::TICK_MS);
    Station(const Station &) = delete;
    Station &operator=(const Station &) = delete;

    presenter::WindowPresenter &presenter() { return m_presenter; }
    const transfer::TransferEngine &engine() const { return m_engine; }
    // No transfer running: state Idle, ticker stopped, port closed.
    bool isIdle() const;

private:
    std::unique_ptr<protocol::SerialLink> m_link;
    serial::QtTicker m_ticker;
    transfer::TransferEngine m_engine;
    presenter::WindowPresenter m_presenter;
};

} // namespace sg::app
