#pragma once

#include "transfer/ticker.h"

#include <windows.h>

#include <functional>

namespace sg::win32 {

// The transfer timer on SetTimer, owned by a message-only window of its own.
class TimerTicker : public transfer::Ticker
{
public:
    explicit TimerTicker(std::function<void()> onTick, UINT periodMs = transfer::TICK_MS);
    ~TimerTicker() override;
    TimerTicker(const TimerTicker &) = delete;
    TimerTicker &operator=(const TimerTicker &) = delete;

    void start() override;
    void stop() override;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::function<void()> m_onTick;
    UINT m_periodMs;
    HWND m_window = nullptr;
};

} // namespace sg::win32
