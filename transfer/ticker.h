#pragma once

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

} // namespace sg::transfer
