#pragma once

#include "transfer/ticker.h"
#include "win32/ticker_window.h"

#include <functional>
#include <utility>

namespace sg::win32 {

// The transfer timer, a repeating one of the thread's timers.
class Win32Ticker : public transfer::Ticker
{
public:
    explicit Win32Ticker(std::function<void()> onTick, int periodMs = transfer::TICK_MS);
    ~Win32Ticker() override;
    Win32Ticker(const Win32Ticker &) = delete;
    Win32Ticker &operator=(const Win32Ticker &) = delete;

    void start() override;
    void stop() override;

private:
    std::function<void()> m_onTick;
    UINT m_periodMs;
    TickerWindow &m_timers = TickerWindow::OfThisThread();
    UINT_PTR m_running = 0;
};

} // namespace sg::win32
