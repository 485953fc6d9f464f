#include "win32/main_window.h"

#include "win32/control_ids.h"
#include "win32/dpi.h"
#include "win32/resource_ids.h"
#include "win32/wide_text.h"

#include <commctrl.h>

#include <algorithm>

namespace sg::win32 {

namespace {

constexpr DWORD STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD EX_STYLE = WS_EX_CONTROLPARENT;
// Leaving a box is judged once the focus has settled where it went.
constexpr UINT BOX_LEFT = WM_APP + 1;
constexpr int TOOLTIP_WIDTH = 420;

HICON AppIcon(int size)
{
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(SG_ICON),
                                         IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// The window class, style and extra style that draw a control of the form.
struct ChildStyle
{
    const wchar_t *className;
    DWORD style;
    DWORD exStyle;
};

DWORD EditAlignment(form::Align align)
{
    switch (align) {
    case form::Align::Right:
        return ES_RIGHT;
    case form::Align::Center:
        return ES_CENTER;
    case form::Align::Left:
        break;
    }
    return ES_LEFT;
}

ChildStyle StyleOf(const form::Control &control)
{
    const DWORD base = WS_CHILD | WS_VISIBLE | (control.tab != form::NO_TAB ? WS_TABSTOP : 0) |
                       (control.enabled ? 0 : WS_DISABLED);
    switch (control.kind) {
    case form::Kind::Box:
        return {WC_EDITW, base | EditAlignment(control.align) | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case form::Kind::Button:
        return {WC_BUTTONW, base | BS_PUSHBUTTON, 0};
    case form::Kind::Caption:
    case form::Kind::Note:
    case form::Kind::Label:
        return {WC_STATICW,
                base | SS_NOPREFIX | (control.align == form::Align::Right ? SS_RIGHT : SS_LEFT), 0};
    case form::Kind::Line:
    case form::Kind::Picture:
        break;
    }
    return {nullptr, 0, 0};
}

} // namespace

MainWindow::MainWindow(MessageLoop &loop, AccPropApi &annotations)
    : m_loop(loop), m_annotations(annotations), m_hint(annotations)
{
    const std::wstring title = FromU16(form::MAIN_TITLE);
    create({.className = MAIN_WINDOW_CLASS,
            .title = title.c_str(),
            .style = STYLE,
            .exStyle = EX_STYLE,
            .icon = AppIcon(32),
            .smallIcon = AppIcon(16)});
}

MainWindow::~MainWindow()
{
    if (m_window)
        DestroyWindow(m_window);
}

void MainWindow::show()
{
    ShowWindow(m_window, SW_SHOWNORMAL);
    SetForegroundWindow(m_window);
    SetFocus(control(form::COM_BOX));
}

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return onNotify(*reinterpret_cast<NMHDR *>(lParam));
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_ACTIVATE:
        onActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case BOX_LEFT:
        onBoxLeft(static_cast<int>(wParam));
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    default:
        return byDefault(message, wParam, lParam);
    }
}

Annotation BoxAnnotation(const form::SpokenBox &spoken, const std::string &inWords)
{
    return {.name = FromU16(spoken.name),
            .description = {},
            .help = spoken.inWords ? Widen(inWords) : FromU16(spoken.description)};
}

void MainWindow::bind(presenter::WindowPresenter &presenter)
{
    m_presenter = &presenter;
    speak();
}

// Each box named and described as on Linux, from the same table; the boxes described in
// words follow their values.
void MainWindow::speak()
{
    const std::vector<form::SpokenBox> spoken = form::SpokenBoxes();
    m_spoken.resize(spoken.size());
    for (std::size_t i = 0; i < spoken.size(); ++i) {
        if (!m_spoken[i])
            m_spoken[i] = std::make_unique<AccessibleAnnotation>(m_annotations);
        const std::string words =
            spoken[i].inWords && m_presenter ? m_presenter->toolTip(spoken[i].box) : std::string();
        m_spoken[i]->annotate(control(spoken[i].box), BoxAnnotation(spoken[i], words));
    }
}

void MainWindow::onCreate()
{
    m_dpi = WindowDpi(m_window);
    createControls();
    createToolTips();
    layout(m_dpi);
    const SIZE size = WindowSizeFor(form::MAIN_CLIENT, STYLE, EX_STYLE, m_dpi);
    SetWindowPos(m_window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    m_loop.addDialog(m_window);
}

void MainWindow::createControls()
{
    const std::span<const form::Control> form = form::MainForm();
    m_controls.assign(form.size(), nullptr);
    // Tab order is the order children are made in.
    for (const std::size_t i : form::CreationOrder(form)) {
        const form::Control &row = form[i];
        const ChildStyle style = StyleOf(row);
        if (!style.className)
            continue;
        m_controls[i] = CreateWindowExW(
            style.exStyle, style.className, FromU16(row.text).c_str(), style.style, 0, 0, 0, 0,
            m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(FIRST_CONTROL_ID + int(i))),
            GetModuleHandleW(nullptr), nullptr);
        if (row.kind == form::Kind::Box)
            SendMessageW(m_controls[i], EM_LIMITTEXT, static_cast<WPARAM>(row.maxLength), 0);
    }
}

void MainWindow::createToolTips()
{
    m_toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (form::MainForm()[i].kind != form::Kind::Box)
            continue;
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_window;
        tool.uId = reinterpret_cast<UINT_PTR>(m_controls[i]);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void MainWindow::layout(UINT dpi)
{
    m_fonts.reset(dpi);
    SendMessageW(m_toolTip, TTM_SETMAXTIPWIDTH, 0, Scaled(TOOLTIP_WIDTH, dpi));
    const std::span<const form::Control> form = form::MainForm();
    for (std::size_t i = 0; i < form.size(); ++i) {
        if (!m_controls[i])
            continue;
        const RECT at = fitted(form[i], PixelsOf(form[i].twips, dpi));
        SetWindowPos(m_controls[i], nullptr, at.left, at.top, at.right - at.left,
                     at.bottom - at.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(m_controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts.get(form[i].font)),
                     TRUE);
        // After the font, which resets them: text keeps clear of the border at every size.
        if (form[i].kind == form::Kind::Box)
            SendMessageW(m_controls[i], EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                         MAKELPARAM(Scaled(1, dpi), Scaled(1, dpi)));
    }
    InvalidateRect(m_window, nullptr, TRUE);
}

RECT MainWindow::fitted(const form::Control &control, RECT at)
{
    // A face wider than the one the form was drawn for must not wrap or cut a caption: it
    // grows away from the side it is aligned to.
    if (control.kind == form::Kind::Box || control.kind == form::Kind::Button)
        return at;
    const WindowDc dc(m_window);
    const Selected font(dc.get(), m_fonts.get(control.font));
    const std::wstring text = FromU16(control.text);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    const LONG missing = size.cx - (at.right - at.left);
    if (missing > 0 && control.align == form::Align::Right)
        at.left -= missing;
    else if (missing > 0)
        at.right += missing;
    return at;
}

HWND MainWindow::control(const form::ControlRef &ref) const
{
    return GetDlgItem(m_window, ControlId(ref));
}

const form::ControlRef *MainWindow::refOf(HWND window) const
{
    const auto at = std::find(m_controls.begin(), m_controls.end(), window);
    if (!window || at == m_controls.end())
        return nullptr;
    return &form::MainForm()[static_cast<std::size_t>(at - m_controls.begin())].ref;
}

void MainWindow::onCommand(int id, int code)
{
    if (code == EN_KILLFOCUS) {
        PostMessageW(m_window, BOX_LEFT, static_cast<WPARAM>(id), 0);
        return;
    }
    if (code == EN_CHANGE && m_presenter) {
        speak();
        return;
    }
    if (code != BN_CLICKED || !m_presenter)
        return;
    if (id == ControlId(form::READ_BUTTON))
        m_presenter->readPressed();
    else if (id == ControlId(form::STORE_BUTTON))
        m_presenter->storePressed();
    else if (id == ControlId(form::HELP_BUTTON))
        showHint();
}

void MainWindow::onBoxLeft(int id)
{
    // Switching to another window is not leaving the box; Help says so itself.
    const HWND focus = GetFocus();
    const form::ControlRef *box = refOf(GetDlgItem(m_window, id));
    if (focus && IsChild(m_window, focus) && box && m_presenter)
        m_presenter->boxLeft(*box);
}

LRESULT MainWindow::onNotify(NMHDR &header)
{
    if (header.code != TTN_GETDISPINFOW)
        return 0;
    auto &info = reinterpret_cast<NMTTDISPINFOW &>(header);
    const form::ControlRef *box = refOf(reinterpret_cast<HWND>(header.idFrom));
    m_toolTipText = box && m_presenter ? Widen(m_presenter->toolTip(*box)) : std::wstring();
    info.lpszText = m_toolTipText.data();
    return 0;
}

void MainWindow::onPaint()
{
    const PaintDc dc(m_window);
    const RECT line = PixelsOf(form::Find(form::SEPARATOR).twips, m_dpi);
    FillRect(dc.get(), &line, GetSysColorBrush(COLOR_BTNSHADOW));
    const RECT picture = PixelsOf(form::Find(form::PANEL_PICTURE).twips, m_dpi);
    m_picture.draw(dc.get(), {picture.left, picture.top}, m_dpi, GetSysColor(COLOR_BTNFACE));
}

void MainWindow::onActivate(bool active)
{
    // The focus comes back to where it was, as in a dialog.
    if (!active) {
        const HWND focus = GetFocus();
        m_lastFocus = focus && IsChild(m_window, focus) ? focus : m_lastFocus;
        return;
    }
    SetFocus(m_lastFocus ? m_lastFocus : control(form::COM_BOX));
}

void MainWindow::dpiChanged(UINT dpi)
{
    m_dpi = dpi;
    layout(dpi);
}

void MainWindow::onDestroy()
{
    m_spoken.clear();
    m_loop.removeDialog(m_window);
    PostQuitMessage(0);
}

void MainWindow::showHint()
{
    m_presenter->helpPressed(refOf(GetFocus()));
    m_hint.show(m_window);
}

std::u16string MainWindow::text(const form::ControlRef &box) const
{
    return ToU16(WindowText(control(box)));
}

void MainWindow::setText(const form::ControlRef &box, const std::u16string &text)
{
    SetWindowTextW(control(box), FromU16(text).c_str());
}

void MainWindow::setEnabled(const form::ControlRef &ref, bool enabled)
{
    const HWND button = control(ref);
    // A disabled control cannot keep the focus, and no one moves it for a window that is
    // not a dialog: it goes on in tab order, as Qt's does, so the keyboard keeps its place.
    if (!enabled && GetFocus() == button) {
        if (const HWND next = GetNextDlgTabItem(m_window, button, FALSE); next && next != button)
            SetFocus(next);
    }
    EnableWindow(button, enabled);
}

} // namespace sg::win32
