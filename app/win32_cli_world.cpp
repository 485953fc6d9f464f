#include "app/win32_cli_world.h"

#include "win32/comm_link.h"
#include "win32/console_text.h"
#include "win32/serial_ports.h"
#include "win32/timer_ticker.h"

#include <algorithm>
#include <cctype>

namespace sg::app {

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

Win32EventLoop::Win32EventLoop(win32::MessageLoop &loop)
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

Win32EventLoop::~Win32EventLoop()
{
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    m_loop.unwatch(m_interrupt.get());
    g_interrupt = nullptr;
}

bool Win32EventLoop::run()
{
    m_loop.run();
    return !m_interrupted;
}

void Win32EventLoop::stop()
{
    PostQuitMessage(0);
}

void Win32EventLoop::callAfter(int ms, std::function<void()> call)
{
    m_calls.callAfter(static_cast<UINT>(std::max(ms, 0)), std::move(call));
}

protocol::PortCatalog Win32CliWorld::ports() const
{
    return win32::ListSerialPorts();
}

// Windows' device names ignore case: \\.\com3 is \\.\COM3.
std::string Win32CliWorld::resolvePortName(const std::string &name) const
{
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

std::unique_ptr<protocol::SerialLink> Win32CliWorld::makeLink()
{
    return std::make_unique<win32::CommLink>(m_messages);
}

void Win32CliWorld::write(Stream stream, std::string_view text)
{
    win32::WriteStandard(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE, text);
}

std::unique_ptr<transfer::Ticker> Win32CliWorld::makeTicker(std::function<void()> onTick)
{
    return std::make_unique<win32::TimerTicker>(std::move(onTick));
}

} // namespace sg::app
