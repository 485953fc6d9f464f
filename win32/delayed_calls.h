#pragma once

#include <windows.h>

#include <functional>
#include <map>

namespace sg::win32 {

// Calls made once, a given time from now, from the message loop: one SetTimer each on a
// message-only window of its own.
class DelayedCalls
{
public:
    DelayedCalls();
    ~DelayedCalls();
    DelayedCalls(const DelayedCalls &) = delete;
    DelayedCalls &operator=(const DelayedCalls &) = delete;

    void callAfter(UINT ms, std::function<void()> call);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void timerFired(UINT_PTR id);

    HWND m_window = nullptr;
    UINT_PTR m_nextId = 1;
    std::map<UINT_PTR, std::function<void()>> m_calls;
};

} // namespace sg::win32
