#include "win32/com_ports.h"

#include "win32/wide_text.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <vector>

namespace sg::win32 {

namespace {

constexpr int HIGHEST_NUMBER = 99; // the COM box takes two digits

// COM followed by digits only; 0 for any other device name.
int NumberOf(std::wstring_view name)
{
    if (name.size() < 4 || name.size() > 5 || name.substr(0, 3) != L"COM")
        return 0;
    int number = 0;
    for (const wchar_t c : name.substr(3)) {
        if (!std::iswdigit(c))
            return 0;
        number = number * 10 + (c - L'0');
    }
    return number;
}

std::wstring TargetOf(const std::wstring &name)
{
    std::wstring target(1024, L'\0');
    const DWORD length =
        QueryDosDeviceW(name.c_str(), target.data(), static_cast<DWORD>(target.size()));
    target.resize(length ? wcslen(target.c_str()) : 0);
    return target;
}

std::vector<int> ExistingNumbers()
{
    std::vector<wchar_t> names(65536);
    const DWORD length = QueryDosDeviceW(nullptr, names.data(), static_cast<DWORD>(names.size()));
    std::vector<int> numbers;
    for (std::size_t at = 0; at < length && names[at] != L'\0';) {
        const std::wstring name(&names[at]);
        if (const int number = NumberOf(name); number > 0 && number <= HIGHEST_NUMBER)
            numbers.push_back(number);
        at += name.size() + 1;
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace

protocol::PortCatalog ComPortLister::catalog() const
{
    std::vector<protocol::PortEntry> entries;
    for (int number = 1; number <= HIGHEST_NUMBER; ++number) {
        const std::string name = "COM" + std::to_string(number);
        entries.push_back({name, R"(\\.\)" + name, {}});
    }
    return protocol::PortCatalog(std::move(entries));
}

std::wstring ExistingPortsText()
{
    std::wstring text;
    for (const int number : ExistingNumbers()) {
        const std::wstring name = L"COM" + std::to_wstring(number);
        text += (text.empty() ? L"" : L"\n") + name + L"  " + TargetOf(name);
    }
    return text.empty() ? L"No serial port on this computer" : text;
}

} // namespace sg::win32
