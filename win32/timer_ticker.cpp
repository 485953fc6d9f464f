#include "win32/timer_ticker.h"

#include "win32/window_class.h"

namespace sg::win32 {

namespace {

constexpr wchar_t CLASS_NAME[] = L"sgsetup.Ticker";
constexpr UINT_PTR TIMER_ID = 1;

} // namespace

TimerTicker::TimerTicker(std::function<void()> onTick, UINT periodMs)
    : m_onTick(std::move(onTick)), m_periodMs(periodMs)
{
    RegisterWindowClass(CLASS_NAME, &TimerTicker::Procedure);
    m_window = CreateWindowExW(0, CLASS_NAME, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), this);
}

TimerTicker::~TimerTicker()
{
    DestroyWindow(m_window);
}

void TimerTicker::start()
{
    SetTimer(m_window, TIMER_ID, m_periodMs, nullptr);
}

void TimerTicker::stop()
{
    KillTimer(m_window, TIMER_ID);
}

LRESULT CALLBACK TimerTicker::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TimerTicker *ticker = OwnerOf<TimerTicker>(window, message, lParam);
    if (ticker && message == WM_TIMER && wParam == TIMER_ID) {
        ticker->m_onTick();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace sg::win32
