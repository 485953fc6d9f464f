#pragma once

#include "win32/accessible_annotation.h"
#include "win32/message_loop.h"

#include <windows.h>

namespace sg::win32 {

// What a screen reader hears of the Help window: its name and the sheet's whole text.
Annotation HintAnnotation();

// The Help window: owned by the main window, shown without blocking it, made on the first
// press and brought forward on the next.
class HintWindow
{
public:
    explicit HintWindow(MessageLoop &loop);
    ~HintWindow();
    HintWindow(const HintWindow &) = delete;
    HintWindow &operator=(const HintWindow &) = delete;

    void show(HWND owner);
    HWND handle() const { return m_window; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void onPaint();
    void onDpiChanged(UINT dpi, const RECT &suggested);

    MessageLoop &m_loop;
    HWND m_window = nullptr;
    AccessibleAnnotation m_annotation;
};

} // namespace sg::win32
