#pragma once

#include "form/form.h"

namespace sg::win32 {

// A control's child-window id is its place in the form, so that a tool driving the
// window finds it by the same names as the form.
inline constexpr int FIRST_CONTROL_ID = 100;

inline int ControlId(const form::ControlRef &ref)
{
    const std::span<const form::Control> all = form::MainForm();
    return FIRST_CONTROL_ID + static_cast<int>(&form::Find(ref) - all.data());
}

inline constexpr wchar_t MAIN_WINDOW_CLASS[] = L"sgsetup.MainWindow";
inline constexpr wchar_t HINT_WINDOW_CLASS[] = L"sgsetup.HintWindow";

} // namespace sg::win32
