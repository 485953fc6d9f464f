#include "win32/hint_window.h"

#include "form/hint_sheet.h"
#include "win32/control_ids.h"
#include "win32/dpi.h"
#include "win32/hint_painter.h"
#include "win32/sheet_accessible.h"
#include "win32/wide_text.h"

#include <algorithm>
#include <utility>

namespace sg::win32 {

namespace {

constexpr DWORD STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

} // namespace

Annotation HintAnnotation()
{
    return {FromU16(form::HINT_NAME), {}, {}};
}

// The lines of the sheet's text, as it is drawn and read: the one text from the form.
IAccessible *NewSheetAccessible(HWND window)
{
    std::vector<std::wstring> lines;
    const std::wstring text = FromU16(form::HintSheetText());
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(L'\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return new SheetAccessible(window, FromU16(form::HINT_NAME), std::move(lines));
}

HintWindow::~HintWindow()
{
    if (m_window)
        DestroyWindow(m_window);
}

void HintWindow::show(HWND owner)
{
    if (!m_window) {
        const UINT dpi = WindowDpi(owner);
        const SIZE size = WindowSizeFor(form::HINT_CLIENT, STYLE, 0, dpi);
        create({.className = HINT_WINDOW_CLASS,
                .style = STYLE,
                .width = size.cx,
                .height = size.cy,
                .parent = owner,
                .icon = reinterpret_cast<HICON>(GetClassLongPtrW(owner, GCLP_HICON)),
                .smallIcon = reinterpret_cast<HICON>(GetClassLongPtrW(owner, GCLP_HICONSM))});
    }
    ShowWindow(m_window, SW_SHOWNORMAL);
    SetForegroundWindow(m_window);
}

LRESULT HintWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        m_annotation.annotate(m_window, HintAnnotation());
        break;
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_GETOBJECT:
        // The client is the sheet; the window object stays the system's.
        if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
            IAccessible *sheet = NewSheetAccessible(m_window);
            const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, sheet);
            sheet->Release();
            return result;
        }
        break;
    case WM_SYSCOLORCHANGE: // High Contrast turned on or off, say
        InvalidateRect(m_window, nullptr, TRUE);
        return 0;
    case WM_NCDESTROY:
        m_annotation.clear();
        break;
    default:
        break;
    }
    return byDefault(message, wParam, lParam);
}

void HintWindow::onPaint()
{
    const PaintDc dc(m_window);
    const UINT dpi = WindowDpi(m_window);
    PaintHintSheet(dc.get(), PixelsOf(form::HINT_SHEET, dpi), dpi, HintInks(HighContrastOn()));
}

void HintWindow::dpiChanged(UINT)
{
    InvalidateRect(m_window, nullptr, TRUE);
}

} // namespace sg::win32
