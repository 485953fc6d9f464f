#pragma once

#include "protocol/port_resolver.h"
#include "protocol/serial_link.h"
#include "transfer/event_loop.h"
#include "transfer/ticker.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string_view>

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
    protocol::SystemName systemName() const
    {
        return [this](const std::string &name) { return resolvePortName(name); };
    }
    virtual std::unique_ptr<protocol::SerialLink> makeLink() = 0;
    virtual std::unique_ptr<transfer::Ticker> makeTicker(int periodMs,
                                                         std::function<void()> onTick) = 0;
    transfer::TickerFactory tickers()
    {
        return [this](int periodMs, std::function<void()> onTick) {
            return makeTicker(periodMs, std::move(onTick));
        };
    }
    virtual transfer::EventLoop &loop() = 0;

    enum class Stream
    {
        Out,
        Err
    };
    // UTF-8 text, as it stands, to the program's output or error stream.
    virtual void write(Stream stream, std::string_view text)
    {
        std::FILE *file = stream == Stream::Out ? stdout : stderr;
        std::fwrite(text.data(), 1, text.size(), file);
        std::fflush(file);
    }
};

} // namespace sg::cli
