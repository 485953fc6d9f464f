#pragma once

#include <windows.h>

#include <string_view>

namespace sg::win32 {

// UTF-8 text to a standard handle (STD_OUTPUT_HANDLE or STD_ERROR_HANDLE): as UTF-16
// characters when it is a console, whatever its code page, else as the bytes themselves.
void WriteStandard(DWORD which, std::string_view utf8);

} // namespace sg::win32
