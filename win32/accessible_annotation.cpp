#include "win32/accessible_annotation.h"

#include <initguid.h> // the PROPID_ACC_* values, defined here once

#include <oleacc.h>

#include <array>

namespace sg::win32 {

namespace {

// The frame and its client area: a reader names the window by the one and reads the other.
// The API takes the negative OBJID_ values as DWORDs.
constexpr DWORD WINDOW_OBJECT = static_cast<DWORD>(OBJID_WINDOW);
constexpr DWORD CLIENT_OBJECT = static_cast<DWORD>(OBJID_CLIENT);
constexpr std::array<DWORD, 2> OBJECTS{WINDOW_OBJECT, CLIENT_OBJECT};

} // namespace

AccessibleAnnotation::~AccessibleAnnotation()
{
    clear();
}

void AccessibleAnnotation::annotate(HWND window, const Annotation &annotation)
{
    if (m_window != window)
        clear();
    m_window = window;
    // A service that refuses a text (there is none without COM) leaves the box unannotated.
    const auto set = [&](DWORD object, const MSAAPROPID &property, const std::wstring &text) {
        if (!text.empty())
            m_service.setHwndPropStr(window, object, property, text.c_str());
    };
    for (const DWORD object : OBJECTS)
        set(object, PROPID_ACC_NAME, annotation.name);
    set(CLIENT_OBJECT, PROPID_ACC_DESCRIPTION, annotation.description);
    set(CLIENT_OBJECT, PROPID_ACC_HELP, annotation.help);
}

void AccessibleAnnotation::clear()
{
    if (!m_window)
        return;
    std::array<MSAAPROPID, 3> props{PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION, PROPID_ACC_HELP};
    for (const DWORD object : OBJECTS)
        m_service.clearHwndProps(m_window, object, props.data(), static_cast<int>(props.size()));
    m_window = nullptr;
}

} // namespace sg::win32
