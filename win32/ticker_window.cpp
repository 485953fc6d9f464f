#include "win32/ticker_window.h"

namespace sg::win32 {

TickerWindow::TickerWindow()
{
    create({.className = L"sgsetup.TickerWindow", .width = 0, .height = 0, .parent = HWND_MESSAGE});
}

TickerWindow::~TickerWindow()
{
    if (m_window)
        DestroyWindow(m_window);
}

TickerWindow &TickerWindow::OfThisThread()
{
    thread_local TickerWindow timers;
    return timers;
}

void TickerWindow::tickOnce(UINT ms, std::function<void()> call)
{
    add(ms, {std::move(call), false});
}

UINT_PTR TickerWindow::every(UINT ms, std::function<void()> call)
{
    return add(ms, {std::move(call), true});
}

void TickerWindow::cancel(UINT_PTR id)
{
    KillTimer(m_window, id);
    m_timers.erase(id);
}

UINT_PTR TickerWindow::add(UINT ms, Timer timer)
{
    const UINT_PTR id = m_nextId++;
    m_timers.emplace(id, std::move(timer));
    SetTimer(m_window, id, ms, nullptr);
    return id;
}

void TickerWindow::fired(UINT_PTR id)
{
    const auto found = m_timers.find(id);
    if (found == m_timers.end()) {
        KillTimer(m_window, id);
        return;
    }
    // A copy, or out of the map first: the call may cancel its own timer or add the next.
    const std::function<void()> call = found->second.call;
    if (!found->second.repeats)
        cancel(id);
    call();
}

LRESULT TickerWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_TIMER)
        return byDefault(message, wParam, lParam);
    fired(wParam);
    return 0;
}

} // namespace sg::win32
