#pragma once

#include "win32/base_window.h"

#include <windows.h>

#include <functional>
#include <map>

namespace sg::win32 {

// Calls made from the message loop a given time from now, once or again and again: one
// SetTimer each on a message-only window. Every ticker and the console's one-shot ticks
// run on it.
class TickerWindow : public BaseWindow<TickerWindow>
{
public:
    TickerWindow();
    ~TickerWindow();

    void tickOnce(UINT ms, std::function<void()> call);
    // Calls every ms until cancel(id).
    UINT_PTR every(UINT ms, std::function<void()> call);
    void cancel(UINT_PTR id);

    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // This thread's one instance: a program with a hundred ports makes no hundred windows.
    static TickerWindow &OfThisThread();

private:
    struct Timer
    {
        std::function<void()> call;
        bool repeats = false;
    };
    UINT_PTR add(UINT ms, Timer timer);
    void fired(UINT_PTR id);

    UINT_PTR m_nextId = 1;
    std::map<UINT_PTR, Timer> m_timers;
};

} // namespace sg::win32
