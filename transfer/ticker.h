#pragma once

#include <functional>
#include <memory>

namespace sg::transfer {

inline constexpr int TICK_MS = 1500;

// The periodic transfer timer; its owner calls the engine's tick().
class Ticker
{
public:
    virtual ~Ticker() = default;

    virtual void start() = 0;
    virtual void stop() = 0;
};

// Makes a ticker of another period, for the waits a step or a link measures.
using TickerFactory =
    std::function<std::unique_ptr<Ticker>(int periodMs, std::function<void()> onTick)>;

} // namespace sg::transfer
