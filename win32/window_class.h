#pragma once

#include <windows.h>

namespace sg::win32 {

// Registers a window class once per process; the class's procedure is its own.
void RegisterWindowClass(const wchar_t *name, WNDPROC procedure, HICON icon = nullptr,
                         HICON smallIcon = nullptr);

} // namespace sg::win32
