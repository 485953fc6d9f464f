#pragma once

#include "serial/qt_ticker.h"
#include "serial/qt_serial_link.h"
#include "transfer/transfer_controller.h"

namespace sg::app {

// The transfer core for one device, on a real serial port: the link, the ticker and the
// controller that drives them for a front end's view and alerts, finding ports in ports.
class Station
{
public:
    Station(const protocol::PortLister &ports, transfer::TransferView &view,
            transfer::Alerts &alerts, int tickMs = transfer::TICK_MS);
    Station(const Station &) = delete;
    Station &operator=(const Station &) = delete;

    transfer::TransferController &controller() { return m_controller; }
    const transfer::TransferController &controller() const { return m_controller; }
    // No transfer running: state Idle, ticker stopped, port closed.
    bool isIdle() const;

private:
    serial::QtSerialLink m_link;
    serial::QtTicker m_ticker;
    transfer::TransferController m_controller;
};

} // namespace sg::app
