#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace sg::win32 {

// The core speaks UTF-8 (details) and UTF-16 code units (box texts); Windows speaks wchar_t.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
std::wstring FromU16(std::u16string_view text);
std::u16string ToU16(std::wstring_view text);

// What the system says about an error code, without the trailing line break.
std::string SystemMessage(DWORD code);
std::wstring WindowText(HWND window);

} // namespace sg::win32
