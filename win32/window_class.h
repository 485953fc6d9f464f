#pragma once

#include <windows.h>

namespace sg::win32 {

// Registers a window class once per process; the class's procedure is its own.
void RegisterWindowClass(const wchar_t *name, WNDPROC procedure, HICON icon = nullptr,
                         HICON smallIcon = nullptr);

// The object a window was created for: stored at WM_NCCREATE from CreateWindowEx's last
// argument, null for the messages that come before it.
template <typename Owner> Owner *OwnerOf(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *owner =
            static_cast<Owner *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        return owner;
    }
    return reinterpret_cast<Owner *>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

} // namespace sg::win32
