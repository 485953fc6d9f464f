#pragma once

#include "win32/acc_prop_api.h"

#include <windows.h>

#include <string>

namespace sg::win32 {

// What a screen reader is told of a window: a name its title or the static before it
// cannot give, and a description or a help text where there is one. UI Automation reads
// the help text (HelpText) and not the description.
struct Annotation
{
    std::wstring name;
    std::wstring description;
    std::wstring help;
};

// A window's accessible name, description and help set by dynamic annotation, as
// Microsoft's "Using Direct Annotation" describes (IAccPropServices::SetHwndPropStr,
// PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION, PROPID_ACC_HELP); cleared again before the
// window goes.
class AccessibleAnnotation
{
public:
    explicit AccessibleAnnotation(AccPropApi &service) : m_service(service) {}
    ~AccessibleAnnotation();
    AccessibleAnnotation(const AccessibleAnnotation &) = delete;
    AccessibleAnnotation &operator=(const AccessibleAnnotation &) = delete;

    void annotate(HWND window, const Annotation &annotation);
    void clear();

private:
    AccPropApi &m_service;
    HWND m_window = nullptr;
};

} // namespace sg::win32
