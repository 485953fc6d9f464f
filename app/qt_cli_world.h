#pragma once

#include "cli/world.h"
#include "qtcore/qt_event_loop.h"

namespace sg::app {

// The command line on Linux: the host's ports and simulators, QSerialPort links and
// QTimer tickers on the QCoreApplication loop.
class QtCliWorld : public cli::World
{
public:
    protocol::PortCatalog ports() const override;
    std::string resolvePortName(const std::string &name) const override;
    std::unique_ptr<protocol::SerialLink> makeLink() override;
    std::unique_ptr<transfer::Ticker> makeTicker(int periodMs,
                                                 std::function<void()> onTick) override;
    transfer::EventLoop &loop() override { return m_loop; }

private:
    qtcore::QtEventLoop m_loop;
};

} // namespace sg::app
