#pragma once

#include "win32/window_class.h"

#include <windows.h>

namespace sg::win32 {

// A window that an object of Derived owns: one place registers its class and makes it, and
// one procedure hands every message to Derived::onMessage, from WM_NCCREATE, when the object
// learns its handle, to WM_NCDESTROY, when it lets go. A move to a monitor of another DPI
// is one handler too: Derived::dpiChanged lays out, the window takes the suggested place.
template <typename Derived> class BaseWindow
{
public:
    HWND handle() const { return m_window; }

protected:
    struct Creation
    {
        const wchar_t *className;
        const wchar_t *title = L"";
        DWORD style = 0;
        DWORD exStyle = 0;
        int width = CW_USEDEFAULT;
        int height = CW_USEDEFAULT;
        HWND parent = nullptr;
        HICON icon = nullptr;
        HICON smallIcon = nullptr;
    };

    BaseWindow() = default;
    ~BaseWindow() = default;
    BaseWindow(const BaseWindow &) = delete;
    BaseWindow &operator=(const BaseWindow &) = delete;

    void create(const Creation &c)
    {
        RegisterWindowClass(c.className, &Procedure, c.icon, c.smallIcon);
        CreateWindowExW(c.exStyle, c.className, c.title, c.style, CW_USEDEFAULT, CW_USEDEFAULT,
                        c.width, c.height, c.parent, nullptr, GetModuleHandleW(nullptr), this);
    }
    LRESULT byDefault(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return DefWindowProcW(m_window, message, wParam, lParam);
    }

    HWND m_window = nullptr;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            auto *self = static_cast<BaseWindow *>(
                reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
            self->m_window = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto *self = reinterpret_cast<BaseWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self)
            return DefWindowProcW(window, message, wParam, lParam);
        auto *derived = static_cast<Derived *>(self);
        if constexpr (requires { derived->dpiChanged(UINT{}); }) {
            if (message == WM_DPICHANGED) {
                derived->dpiChanged(HIWORD(wParam));
                const RECT &to = *reinterpret_cast<const RECT *>(lParam);
                SetWindowPos(window, nullptr, to.left, to.top, to.right - to.left,
                             to.bottom - to.top, SWP_NOZORDER | SWP_NOACTIVATE);
                return 0;
            }
        }
        const LRESULT result = derived->onMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->m_window = nullptr;
        }
        return result;
    }
};

} // namespace sg::win32
