#include "win32/hint_window.h"

#include "form/hint_sheet.h"
#include "win32/control_ids.h"
#include "win32/dpi.h"
#include "win32/hint_painter.h"
#include "win32/wide_text.h"
#include "win32/window_class.h"

namespace sg::win32 {

namespace {

constexpr DWORD STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

} // namespace

Annotation HintAnnotation()
{
    return {FromU16(form::HINT_NAME), FromU16(form::HintSheetText())};
}

HintWindow::HintWindow(MessageLoop &loop) : m_loop(loop) {}

HintWindow::~HintWindow()
{
    if (m_window)
        DestroyWindow(m_window);
}

void HintWindow::show(HWND owner)
{
    if (!m_window) {
        const HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(owner, GCLP_HICON));
        const HICON smallIcon = reinterpret_cast<HICON>(GetClassLongPtrW(owner, GCLP_HICONSM));
        RegisterWindowClass(HINT_WINDOW_CLASS, &HintWindow::Procedure, icon, smallIcon);
        const UINT dpi = WindowDpi(owner);
        const SIZE size = WindowSizeFor(form::HINT_CLIENT, STYLE, 0, dpi);
        CreateWindowExW(0, HINT_WINDOW_CLASS, L"", STYLE, CW_USEDEFAULT, CW_USEDEFAULT, size.cx,
                        size.cy, owner, nullptr, GetModuleHandleW(nullptr), this);
    }
    ShowWindow(m_window, SW_SHOWNORMAL);
    SetForegroundWindow(m_window);
}

LRESULT CALLBACK HintWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HintWindow *self = OwnerOf<HintWindow>(window, message, lParam);
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_NCCREATE:
        self->m_window = window;
        self->m_annotation.annotate(window, HintAnnotation());
        break;
    case WM_PAINT:
        self->onPaint();
        return 0;
    case WM_DPICHANGED:
        self->onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_NCDESTROY:
        self->m_annotation.clear();
        self->m_window = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void HintWindow::onPaint()
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_window, &paint);
    PaintHintSheet(dc, PixelsOf(form::HINT_SHEET, WindowDpi(m_window)), WindowDpi(m_window));
    EndPaint(m_window, &paint);
}

void HintWindow::onDpiChanged(UINT, const RECT &suggested)
{
    SetWindowPos(m_window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(m_window, nullptr, TRUE);
}

} // namespace sg::win32
