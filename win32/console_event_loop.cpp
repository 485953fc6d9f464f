#include "win32/console_event_loop.h"

#include <algorithm>

namespace sg::win32 {

namespace {

HANDLE g_interrupt = nullptr;

// Runs on a thread of its own: it only wakes the loop.
BOOL WINAPI OnConsoleControl(DWORD type)
{
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT)
        return FALSE;
    SetEvent(g_interrupt);
    return TRUE;
}

} // namespace

ConsoleEventLoop::ConsoleEventLoop(MessageLoop &loop)
    : m_loop(loop), m_interrupt(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    g_interrupt = m_interrupt.get();
    m_loop.watch(m_interrupt.get(), [this] {
        ResetEvent(m_interrupt.get());
        m_interrupted = true;
        PostQuitMessage(0);
    });
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

ConsoleEventLoop::~ConsoleEventLoop()
{
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    m_loop.unwatch(m_interrupt.get());
    g_interrupt = nullptr;
}

bool ConsoleEventLoop::run()
{
    m_loop.run();
    return !m_interrupted;
}

void ConsoleEventLoop::stop()
{
    PostQuitMessage(0);
}

void ConsoleEventLoop::tickOnce(int ms, std::function<void()> call)
{
    m_calls.tickOnce(static_cast<UINT>(std::max(ms, 0)), std::move(call));
}

} // namespace sg::win32
