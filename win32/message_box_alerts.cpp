#include "win32/message_box_alerts.h"

#include "win32/wide_text.h"

namespace sg::win32 {

void MessageBoxAlerts::critical(std::string_view text, const std::string &detail)
{
    show(text, detail, MB_ICONERROR);
}

void MessageBoxAlerts::warning(std::string_view text, const std::string &detail)
{
    show(text, detail, MB_ICONWARNING);
}

void MessageBoxAlerts::show(std::string_view text, const std::string &detail, UINT icon)
{
    // A message box has one text: the reason goes beneath the fixed message.
    std::wstring body = Widen(text);
    if (!detail.empty())
        body += L"\n\n" + Widen(detail);
    MessageBoxW(m_owner, body.c_str(), L"", MB_OK | icon);
}

} // namespace sg::win32
