#include "win32/console_text.h"

#include "win32/wide_text.h"

namespace sg::win32 {

void WriteStandard(DWORD which, std::string_view utf8)
{
    const HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    DWORD mode = 0;
    DWORD written = 0;
    // The console's code page belongs to the cmd.exe that shares it, and Windows 7's
    // console cuts UTF-8 short: characters need no code page.
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = Widen(utf8);
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

} // namespace sg::win32
