// Drives a running sgsetup.exe the way Windows tools do, by window messages: sets box texts,
// presses buttons, waits for the message box and reads it. Prints one line a case.
//   wine_driver COM_ANSWERING COM_SILENT COM_UNPLUGGING COM_ABSENT
//   wine_driver help LABEL     only opens the help window and reads its ink back

#include "form/hint_layout.h"
#include "form/hint_sheet.h"
#include "win32/control_ids.h"
#include "win32/dpi.h"
#include "win32/hint_painter.h"
#include "win32/main_window.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

using sg::form::ControlRef;

namespace {

HWND g_main = nullptr;

HWND Item(const ControlRef &ref)
{
    return GetDlgItem(g_main, sg::win32::ControlId(ref));
}

std::wstring Text(HWND window)
{
    wchar_t text[256] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000,
                        &ignored);
    return text;
}

void SetText(const ControlRef &ref, const wchar_t *text)
{
    SendMessageW(Item(ref), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// Posted, not sent: the press may open a modal box that only this driver closes.
void Press(const ControlRef &ref)
{
    PostMessageW(Item(ref), BM_CLICK, 0, 0);
}

std::wstring Params()
{
    std::wstring joined;
    for (int i = 0; i < 8; ++i)
        joined += Text(Item({"Text1", i}));
    return joined;
}

bool WaitFor(const std::function<bool()> &condition, DWORD ms)
{
    for (const ULONGLONG end = GetTickCount64() + ms; GetTickCount64() < end; Sleep(50)) {
        if (condition())
            return true;
    }
    return condition();
}

HWND MessageBoxOf(HWND owner)
{
    struct Search
    {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto &s = *reinterpret_cast<Search *>(context);
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring(name) == L"#32770" && GetWindow(window, GW_OWNER) == s.owner &&
                IsWindowVisible(window)) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct Box
{
    std::wstring text;
    std::wstring title;
    HWND icon = nullptr;
};

Box ReadBox(HWND box)
{
    Box read;
    read.title = Text(box);
    EnumChildWindows(
        box,
        [](HWND child, LPARAM context) -> BOOL {
            auto &r = *reinterpret_cast<Box *>(context);
            wchar_t name[16] = {};
            GetClassNameW(child, name, 16);
            if (std::wstring(name) != L"Static")
                return TRUE;
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                r.icon = child;
            else if (const std::wstring text = Text(child); !text.empty())
                r.text = text;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&read));
    return read;
}

bool ButtonsEnabled()
{
    return IsWindowEnabled(Item({"CMDread"})) && IsWindowEnabled(Item({"CMDstore"}));
}

int g_failures = 0;
std::wstring g_lastBoxText;

void Report(const char *name, const std::wstring &problem)
{
    if (problem.empty()) {
        std::printf("ok - %s\n", name);
    } else {
        ++g_failures;
        std::printf("not ok - %s: %ls\n", name, problem.c_str());
    }
    std::fflush(stdout);
}

std::wstring Expect(const wchar_t *what, const std::wstring &seen, const std::wstring &wanted)
{
    return seen == wanted ? L""
                          : std::wstring(what) + L" is '" + seen + L"', not '" + wanted + L"'";
}

// Presses a button that must end in exactly one box; checks it, closes it, and checks that
// no second box follows and the window is ready again.
enum class Icon
{
    Error,
    Warning,
    Other
};

// Icon handles are the box's own, so the two system icons are told apart by their colour as
// shown: the error icon is red, the warning icon yellow.
Icon IconOf(HWND icon)
{
    RECT at{};
    GetWindowRect(icon, &at);
    const HDC screen = GetDC(nullptr);
    int red = 0;
    int yellow = 0;
    for (int y = at.top; y < at.bottom; ++y) {
        for (int x = at.left; x < at.right; ++x) {
            const COLORREF c = GetPixel(screen, x, y);
            const bool strong = GetRValue(c) > 180 && GetBValue(c) < 110;
            red += strong && GetGValue(c) < 110;
            yellow += strong && GetGValue(c) > 150;
        }
    }
    ReleaseDC(nullptr, screen);
    if (red > 40 && red > 4 * yellow)
        return Icon::Error;
    return yellow > 40 && yellow > 4 * red ? Icon::Warning : Icon::Other;
}

std::wstring OneBox(const ControlRef &button, const std::wstring &text, Icon icon, DWORD withinMs)
{
    Press(button);
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = MessageBoxOf(g_main)) != nullptr; }, withinMs))
        return L"no message box";
    Sleep(300); // painted
    const Box seen = ReadBox(box);
    g_lastBoxText = seen.text;
    const Icon shown = seen.icon ? IconOf(seen.icon) : Icon::Other;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    if (!seen.title.empty())
        return L"the title is '" + seen.title + L"'";
    if (seen.text.rfind(text, 0) != 0)
        return L"the box says '" + seen.text + L"'";
    if (shown != icon)
        return L"the box shows another icon";
    if (!WaitFor([] { return MessageBoxOf(g_main) == nullptr; }, 2000))
        return L"the box did not close";
    if (WaitFor([] { return MessageBoxOf(g_main) != nullptr; }, 2500))
        return L"a second box followed";
    return ButtonsEnabled() ? L"" : L"Read and Store stay disabled";
}

std::wstring Transfer(const ControlRef &button)
{
    Press(button);
    Sleep(200);
    if (ButtonsEnabled())
        return L"the buttons were not disabled";
    if (!WaitFor(ButtonsEnabled, 5000))
        return L"the transfer did not end";
    if (const HWND box = MessageBoxOf(g_main)) {
        const std::wstring text = ReadBox(box).text;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return L"a message box said '" + text + L"'";
    }
    return L"";
}

void UseCom(const std::wstring &com)
{
    SetText({"TXTcom"}, com.c_str());
}

// Tab from a box: the dialog manager moves the focus on, as from the keyboard.
void TabFrom(const ControlRef &ref)
{
    PostMessageW(Item(ref), WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(Item(ref), WM_KEYUP, VK_TAB, 0);
    Sleep(100);
}

struct Ink
{
    int inSheet = 0;  // dark pixels inside the sheet's margins
    int inMargin = 0; // dark pixels in its right margin and beyond
};

// The help window's client area as shown, read back: where its dark pixels are.
Ink InkOf(HWND hint)
{
    using namespace sg::win32;
    RECT client{};
    GetClientRect(hint, &client);
    const UINT dpi = WindowDpi(hint);
    const RECT sheet = PixelsOf(sg::form::HINT_SHEET, dpi);
    const int marginFrom = sheet.right - Scaled(sg::form::HINT_SHEET_MARGIN, dpi);
    const int width = client.right;
    const int height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    const HDC window = GetDC(hint);
    const HDC memory = CreateCompatibleDC(window);
    const HBITMAP dib = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ before = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, window, 0, 0, SRCCOPY);
    GdiFlush();
    Ink ink;
    const auto *pixels = static_cast<const std::uint32_t *>(bits);
    for (int y = sheet.top; y < sheet.bottom && y < height; ++y) {
        for (int x = sheet.left; x < width; ++x) {
            const std::uint32_t p = pixels[y * width + x];
            if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) >= 400)
                continue;
            ++(x < marginFrom ? ink.inSheet : ink.inMargin);
        }
    }
    SelectObject(memory, before);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(hint, window);
    return ink;
}

// The face wine gives the window when it asks for the form's, which a prefix may lack.
std::wstring FaceOf(HWND window)
{
    HDC dc = GetDC(window);
    const auto font = sg::win32::CreateUiFont(sg::form::NOTE_FONT, 96);
    const HGDIOBJ old = SelectObject(dc, font.get());
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return face;
}

// Every help line ends inside the sheet, whatever the scale and face.
void CheckHelpInk(const std::wstring &label)
{
    Press({"Command1"});
    HWND hint = nullptr;
    UINT dpi = 0;
    std::wstring problem;
    if (!WaitFor([&] { return (hint = FindWindowW(sg::win32::HINT_WINDOW_CLASS, nullptr)); },
                 5000)) {
        problem = L"no help window";
    } else {
        Sleep(500); // painted
        dpi = sg::win32::WindowDpi(hint);
        const Ink ink = InkOf(hint);
        if (ink.inSheet < 1000)
            problem = L"the sheet shows almost no ink (" + std::to_wstring(ink.inSheet) + L")";
        else if (ink.inMargin > 0)
            problem = std::to_wstring(ink.inMargin) + L" dark pixels in the right margin";
        std::printf("# %d dark pixels in the sheet, %d in its right margin, in %ls\n", ink.inSheet,
                    ink.inMargin, FaceOf(hint).c_str());
        PostMessageW(hint, WM_CLOSE, 0, 0);
    }
    const std::string name = "help lines stay inside the sheet at " +
                             std::string(label.begin(), label.end()) + " (" + std::to_string(dpi) +
                             " DPI)";
    Report(name.c_str(), problem);
}

// One control as tests/data/main_window.txt writes it.
std::string RowOf(HWND control, int tab)
{
    wchar_t type[16] = {}, before[16] = {};
    GetClassNameW(control, type, 16);
    GetClassNameW(GetWindow(control, GW_HWNDPREV), before, 16);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    const bool box = type == std::wstring(L"Edit"), button = type == std::wstring(L"Button");
    const bool bold = font.lfWeight >= FW_BOLD;
    // Edits and statics share the values of centred and right-aligned.
    const int align = style & (box ? ES_CENTER | ES_RIGHT : SS_TYPEMASK);
    RECT at{};
    GetWindowRect(control, &at);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT *>(&at), 2);
    const ControlRef ref =
        sg::form::MainForm()[std::size_t(GetDlgCtrlID(control) - sg::win32::FIRST_CONTROL_ID)].ref;
    const wchar_t *kind = box ? L"box" : button ? L"button" : bold ? L"caption" : L"note";
    const wchar_t *side = button || align == SS_CENTER ? L"center"
                          : align == SS_RIGHT          ? L"right"
                                                       : L"left";
    const std::wstring caption =
        box && before == std::wstring(L"Static") ? Text(GetWindow(control, GW_HWNDPREV)) : L"";
    std::wostringstream row;
    row << kind << '|' << std::wstring(ref.name.begin(), ref.name.end()) << '|'
        << (ref.index < 0 ? L"" : std::to_wstring(ref.index)) << '|' << Text(control) << '|'
        << at.left << '|' << at.top << '|' << at.right - at.left << '|' << at.bottom - at.top << '|'
        << font.lfFaceName << '|' << -font.lfHeight << '|' << (bold ? L"bold" : L"") << '|'
        << (font.lfItalic ? L"italic" : L"") << '|' << side << '|'
        << (IsWindowEnabled(control) ? L"on" : L"off") << '|'
        << (style & WS_TABSTOP ? L"yes" : L"no") << '|' << (tab < 0 ? L"" : std::to_wstring(tab))
        << '|' << caption;
    const std::wstring text = row.str();
    return std::string(text.begin(), text.end());
}

std::vector<std::string> Fields(const std::string &row)
{
    std::vector<std::string> fields;
    std::istringstream in(row);
    for (std::string field; std::getline(in, field, '|');)
        fields.push_back(field);
    return fields;
}

// The table's row, or a caption in a face wider than Tahoma, which grows a few pixels away
// from the side it is aligned to so that no letter is cut.
bool Matches(const std::string &drawn, const std::string &wanted)
{
    std::vector<std::string> d = Fields(drawn), w = Fields(wanted);
    if (d.size() == w.size() && d.size() > 12 && (d[0] == "caption" || d[0] == "note")) {
        const int grown = std::stoi(d[6]) - std::stoi(w[6]);
        d[4] = d[12] == "right" ? std::to_string(std::stoi(d[4]) + grown) : d[4];
        d[6] = grown > 0 && grown <= 4 ? w[6] : d[6];
    }
    return d == w;
}

// The window built here, by the same code and resources as the exe's: a font handle means
// nothing outside the process that made it. In Tahoma, the face the table is drawn for.
void CheckLayout()
{
    AddFontResourceExW(L"Z:\\usr\\share\\wine\\fonts\\tahoma.ttf", FR_PRIVATE, nullptr);
    sg::win32::MessageLoop loop;
    const sg::win32::MainWindow window(loop);
    std::vector<std::string> drawn;
    int tab = 0;
    for (HWND child = GetWindow(window.handle(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT))
        drawn.push_back(RowOf(child, GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP ? tab++ : -1));
    std::ifstream table("Z:" SG_SOURCE_DIR "/tests/data/main_window.txt");
    std::string problem;
    std::size_t rows = 0;
    for (std::string row; std::getline(table, row);) {
        const bool control = !row.empty() && row[0] != '#' && !row.starts_with("line|") &&
                             !row.starts_with("picture|");
        rows += control;
        if (control && std::none_of(drawn.begin(), drawn.end(),
                                    [&row](const std::string &d) { return Matches(d, row); }))
            problem += "\n  differs from " + row;
    }
    for (std::size_t i = 0; i < drawn.size() && (rows != drawn.size() || !problem.empty()); ++i)
        problem += "\n  drawn: " + drawn[i];
    Report("the window's controls are the table's at 96 DPI",
           std::wstring(problem.begin(), problem.end()));
    // Its icon, as the window class has it, has ink.
    ICONINFO icon{};
    GetIconInfo(reinterpret_cast<HICON>(GetClassLongPtrW(window.handle(), GCLP_HICON)), &icon);
    std::uint32_t pixels[32 * 32] = {};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const HDC screen = GetDC(nullptr);
    GetDIBits(screen, icon.hbmColor, 0, 32, pixels, &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    const auto ink =
        std::count_if(pixels, pixels + 32 * 32, [](std::uint32_t p) { return p >> 24 > 128; });
    Report("the window's icon has ink", ink > 100 ? L"" : L"only " + std::to_wstring(ink));
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    SetProcessDPIAware(); // sizes and pixels as the window has them, not scaled to 96 DPI
    const bool helpOnly = argc == 3 && std::wstring(argv[1]) == L"help";
    if (argc != 7 && !helpOnly) {
        std::printf("usage: wine_driver COM_ANSWERING COM_SILENT COM_UNPLUGGING COM_ABSENT "
                    "COM_UNLISTED COM_REMOTE\n"
                    "       wine_driver help LABEL\n");
        return 2;
    }
    if (!WaitFor([] { return (g_main = FindWindowW(sg::win32::MAIN_WINDOW_CLASS, nullptr)); },
                 20000)) {
        Report("window", L"no sgsetup window appeared");
        return 1;
    }
    Sleep(300);
    if (helpOnly) {
        CheckHelpInk(argv[2]);
        PostMessageW(g_main, WM_CLOSE, 0, 0);
        return g_failures;
    }

    CheckLayout();
    UseCom(L"x"); // a button pressed now would show its error at once
    for (const char *box : {"TXTdata", "TXTcom"})
        PostMessageW(Item({box}), WM_KEYDOWN, VK_RETURN, 0);
    Report("Enter in a box presses no button",
           WaitFor([] { return MessageBoxOf(g_main) != nullptr; }, 1000) ? L"a message box opened"
                                                                         : L"");
    TabFrom({"TXTcom"});
    TabFrom({"TXTdata"});
    SetText({"Text1", 0}, L"3a");
    TabFrom({"Text1", 0});
    Report(
        "sloppy hex is repaired on leaving the box",
        Expect(L"box 0 and length", Text(Item({"Text1", 0})) + Text(Item({"Text1", 7})), L"3A02"));

    UseCom(argv[1]);
    std::wstring problem = Transfer({"CMDread"});
    if (problem.empty())
        problem = Expect(L"the boxes", Params() + L" " + Text(Item({"TXTdata"})),
                         L"00010040190A0004 01020304");
    Report("read fills the boxes, the data cut to the device's length", problem);

    UseCom(argv[5]);
    SetText({"TXTdata"}, L"ff");
    problem = Transfer({"CMDread"});
    if (problem.empty())
        problem = Expect(L"the data box", Text(Item({"TXTdata"})), L"01020304");
    Report("a port its driver did not list opens by its number", problem);

    UseCom(argv[6]);
    SetText({"TXTdata"}, L"ff");
    problem = Transfer({"CMDread"});
    if (problem.empty())
        problem = Expect(L"the data box", Text(Item({"TXTdata"})), L"01020304");
    Report("a number from the ports file reads through the network serial server", problem);

    SetText({"TXTdata"}, L"cafe");
    SetText({"Text1", 6}, L"3");
    problem = Transfer({"CMDstore"});
    if (problem.empty())
        problem = Expect(L"the boxes", Params() + L" " + Text(Item({"TXTdata"})),
                         L"00010040190A0302 CAFE");
    Report("store sends both blocks and normalises the boxes", problem);

    UseCom(argv[2]);
    Report("a silent device gives one warning",
           OneBox({"CMDread"}, L"ERROR! No response.", Icon::Warning, 4000));

    UseCom(argv[4]);
    problem = OneBox({"CMDstore"},
                     L"ERROR! Check COM settings\n\nCOM" + std::wstring(argv[4]) +
                         L": no such port on this computer; ports here: ",
                     Icon::Error, 1000);
    if (problem.empty() && g_lastBoxText.find(L"COM" + std::wstring(argv[1])) == std::wstring::npos)
        problem = L"the box does not name COM" + std::wstring(argv[1]) + L": " + g_lastBoxText;
    Report("a port that does not exist gives one error at once, naming the ports there", problem);

    UseCom(argv[3]);
    Report("a device unplugged mid-store gives one error",
           OneBox({"CMDstore"}, L"ERROR! Check COM settings", Icon::Error, 4000));

    PostMessageW(g_main, WM_CLOSE, 0, 0);
    return g_failures;
}
