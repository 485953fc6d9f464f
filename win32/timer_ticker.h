#pragma once

#include "transfer/ticker.h"
#include "win32/timers.h"

#include <functional>
#include <utility>

namespace sg::win32 {

// The transfer timer, a repeating one of the thread's timers.
class TimerTicker : public transfer::Ticker
{
public:
    explicit TimerTicker(std::function<void()> onTick, int periodMs = transfer::TICK_MS);
    ~TimerTicker() override;
    TimerTicker(const TimerTicker &) = delete;
    TimerTicker &operator=(const TimerTicker &) = delete;

    void start() override;
    void stop() override;

private:
    std::function<void()> m_onTick;
    UINT m_periodMs;
    Timers &m_timers = Timers::OfThisThread();
    UINT_PTR m_running = 0;
};

} // namespace sg::win32
