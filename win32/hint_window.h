#pragma once

#include "win32/accessible_annotation.h"
#include "win32/base_window.h"
#include "win32/message_loop.h"

#include <windows.h>

namespace sg::win32 {

// What a screen reader hears of the Help window: its name and the sheet's whole text.
Annotation HintAnnotation();

// The Help window: owned by the main window, shown without blocking it, made on the first
// press and brought forward on the next.
class HintWindow : public BaseWindow<HintWindow>
{
public:
    explicit HintWindow(MessageLoop &loop);
    ~HintWindow();

    void show(HWND owner);

    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void dpiChanged(UINT dpi);

private:
    void onPaint();

    MessageLoop &m_loop;
    AccessibleAnnotation m_annotation;
};

} // namespace sg::win32
