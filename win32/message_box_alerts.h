#pragma once

#include "presenter/alerts.h"

#include <windows.h>

namespace sg::win32 {

// The two failures as modal message boxes over the main window, with an empty title.
class MessageBoxAlerts : public presenter::Alerts
{
public:
    explicit MessageBoxAlerts(HWND owner) : m_owner(owner) {}

    void critical(std::string_view text, const std::string &detail) override;
    void warning(std::string_view text, const std::string &detail) override;

private:
    void show(std::string_view text, const std::string &detail, UINT icon);

    HWND m_owner;
};

} // namespace sg::win32
