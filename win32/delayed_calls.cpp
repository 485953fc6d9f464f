#include "win32/delayed_calls.h"

#include "win32/window_class.h"

namespace sg::win32 {

namespace {

constexpr wchar_t CLASS_NAME[] = L"sgsetup.DelayedCalls";

} // namespace

DelayedCalls::DelayedCalls()
{
    RegisterWindowClass(CLASS_NAME, &DelayedCalls::Procedure);
    m_window = CreateWindowExW(0, CLASS_NAME, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), this);
}

DelayedCalls::~DelayedCalls()
{
    DestroyWindow(m_window);
}

void DelayedCalls::callAfter(UINT ms, std::function<void()> call)
{
    const UINT_PTR id = m_nextId++;
    m_calls.emplace(id, std::move(call));
    SetTimer(m_window, id, ms, nullptr);
}

void DelayedCalls::timerFired(UINT_PTR id)
{
    KillTimer(m_window, id);
    const auto found = m_calls.find(id);
    if (found == m_calls.end())
        return;
    // Out of the map first: the call may ask for the next one.
    const std::function<void()> call = std::move(found->second);
    m_calls.erase(found);
    call();
}

LRESULT CALLBACK DelayedCalls::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DelayedCalls *calls = OwnerOf<DelayedCalls>(window, message, lParam);
    if (calls && message == WM_TIMER) {
        calls->timerFired(wParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace sg::win32
