#include "win32/timer_ticker.h"

namespace sg::win32 {

TimerTicker::TimerTicker(std::function<void()> onTick, int periodMs)
    : m_onTick(std::move(onTick)), m_periodMs(static_cast<UINT>(periodMs))
{
}

// Started again, the period counts from now.
void TimerTicker::start()
{
    stop();
    m_running = m_timers.every(m_periodMs, [this] { m_onTick(); });
}

TimerTicker::~TimerTicker()
{
    stop();
}

void TimerTicker::stop()
{
    if (m_running)
        m_timers.cancel(std::exchange(m_running, 0));
}

} // namespace sg::win32
