#include "win32/win32_ticker.h"

namespace sg::win32 {

Win32Ticker::Win32Ticker(std::function<void()> onTick, int periodMs)
    : m_onTick(std::move(onTick)), m_periodMs(static_cast<UINT>(periodMs))
{
}

// Started again, the period counts from now.
void Win32Ticker::start()
{
    stop();
    m_running = m_timers.every(m_periodMs, [this] { m_onTick(); });
}

Win32Ticker::~Win32Ticker()
{
    stop();
}

void Win32Ticker::stop()
{
    if (m_running)
        m_timers.cancel(std::exchange(m_running, 0));
}

} // namespace sg::win32
