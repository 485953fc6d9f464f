#pragma once

#include "win32/accessible_annotation.h"
#include "win32/base_window.h"

#include <windows.h>

namespace sg::win32 {

// The name a screen reader gives the Help window, whose title bar stays empty.
Annotation HintAnnotation();
// The sheet's accessible object, its lines as children, with one reference for the caller.
IAccessible *NewSheetAccessible(HWND window);

// The Help window: owned by the main window, shown without blocking it, made on the first
// press and brought forward on the next.
class HintWindow : public BaseWindow<HintWindow>
{
public:
    explicit HintWindow(AccPropApi &annotations) : m_annotation(annotations) {}
    ~HintWindow();

    void show(HWND owner);

    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void dpiChanged(UINT dpi);

private:
    void onPaint();

    AccessibleAnnotation m_annotation;
};

} // namespace sg::win32
