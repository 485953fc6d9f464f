#pragma once

#include "cli/event_loop.h"
#include "protocol/port_catalog.h"
#include "protocol/serial_link.h"
#include "transfer/ticker.h"

#include <functional>
#include <memory>

namespace sg::cli {

// Everything the command line takes from the platform it runs on.
class World
{
public:
    virtual ~World() = default;

    virtual protocol::PortCatalog ports() const = 0;
    // The system's own name for a port the user named, e.g. a by-id link's target; the
    // name itself when there is nothing to resolve.
    virtual std::string resolvePortName(const std::string &name) const = 0;
    virtual std::unique_ptr<protocol::SerialLink> makeLink() = 0;
    virtual std::unique_ptr<transfer::Ticker> makeTicker(std::function<void()> onTick) = 0;
    virtual EventLoop &loop() = 0;
};

} // namespace sg::cli
