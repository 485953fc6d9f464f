// Drives a running sgsetup.exe the way Windows tools do, by window messages: sets box texts,
// presses buttons, waits for the message box and reads it. The cases run in the order written,
// each on the device and window the one before left.
//   wine_driver COM_ANSWERING COM_SILENT COM_UNPLUGGING COM_ABSENT COM_UNLISTED COM_REMOTE
//   wine_driver help LABEL     only opens the help window and reads its ink back

#include "fake_acc_props.h"
#include "fake_transfer.h"
#include "form/hint_layout.h"
#include "form/hint_sheet.h"
#include "form/spoken.h"
#include "model/blocks.h"
#include "win32/control_ids.h"
#include "win32/dpi.h"
#include "win32/hint_painter.h"
#include "win32/main_window.h"
#include "win32/wide_text.h"

#include <windows.h>

#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace sg::form;
using sg::win32::Narrow;

namespace {

HWND g_main = nullptr;
std::vector<std::wstring> g_args; // the ports as given, or "help" and the label

enum Arg
{
    ANSWERING,
    SILENT,
    UNPLUGGING,
    ABSENT,
    UNLISTED,
    REMOTE
};

HWND Item(const ControlRef &ref)
{
    return GetDlgItem(g_main, sg::win32::ControlId(ref));
}

// Sent, since another process's control keeps its text to itself otherwise.
std::string Text(HWND window)
{
    wchar_t text[256] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000,
                        &ignored);
    return Narrow(text);
}

void SetText(const ControlRef &ref, const std::wstring &text)
{
    SendMessageW(Item(ref), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Posted, not sent: the press may open a modal box that only this driver closes.
void Press(const ControlRef &ref)
{
    PostMessageW(Item(ref), BM_CLICK, 0, 0);
}

// The parameter boxes, then the data box.
std::string Boxes()
{
    std::string joined;
    for (std::size_t i = 0; i < sg::model::PARAM_COUNT; ++i)
        joined += Text(Item(ParamBox(i)));
    return joined + " " + Text(Item(DATA_BOX));
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

bool BoxOpen()
{
    return MessageBoxOf(g_main) != nullptr;
}

struct Box
{
    std::string text;
    std::string title;
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
            else if (const std::string text = Text(child); !text.empty())
                r.text = text;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&read));
    return read;
}

bool ButtonsEnabled()
{
    return IsWindowEnabled(Item(READ_BUTTON)) && IsWindowEnabled(Item(STORE_BUTTON));
}

// Icon handles are the box's own, so the two system icons are told apart by their colour as
// shown: the error icon is red, the warning icon yellow.
std::string IconOf(HWND icon)
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
        return "error";
    return yellow > 40 && yellow > 4 * red ? "warning" : "other";
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
    const RECT sheet = PixelsOf(HINT_SHEET, dpi);
    const int marginFrom = sheet.right - Scaled(HINT_SHEET_MARGIN, dpi);
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
std::string FaceOf(HWND window)
{
    HDC dc = GetDC(window);
    const auto font = sg::win32::CreateUiFont(NOTE_FONT, 96);
    const HGDIOBJ old = SelectObject(dc, font.get());
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return Narrow(face);
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
        MainForm()[std::size_t(GetDlgCtrlID(control) - sg::win32::FIRST_CONTROL_ID)].ref;
    const char *kind = box ? "box" : button ? "button" : bold ? "caption" : "note";
    const char *side = button || align == SS_CENTER ? "center"
                       : align == SS_RIGHT          ? "right"
                                                    : "left";
    const std::string caption =
        box && before == std::wstring(L"Static") ? Text(GetWindow(control, GW_HWNDPREV)) : "";
    std::ostringstream row;
    row << kind << '|' << ref.name << '|' << (ref.index < 0 ? "" : std::to_string(ref.index)) << '|'
        << Text(control) << '|' << at.left << '|' << at.top << '|' << at.right - at.left << '|'
        << at.bottom - at.top << '|' << Narrow(font.lfFaceName) << '|' << -font.lfHeight << '|'
        << (bold ? "bold" : "") << '|' << (font.lfItalic ? "italic" : "") << '|' << side << '|'
        << (IsWindowEnabled(control) ? "on" : "off") << '|' << (style & WS_TABSTOP ? "yes" : "no")
        << '|' << (tab < 0 ? "" : std::to_string(tab)) << '|' << caption;
    return row.str();
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

int IconInk(HWND window)
{
    ICONINFO icon{};
    GetIconInfo(reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON)), &icon);
    std::uint32_t pixels[32 * 32] = {};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const HDC screen = GetDC(nullptr);
    GetDIBits(screen, icon.hbmColor, 0, 32, pixels, &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return int(
        std::count_if(pixels, pixels + 32 * 32, [](std::uint32_t p) { return p >> 24 > 128; }));
}

// Built here, by the same code and resources as the exe's: a font handle means nothing outside
// the process that made it. In Tahoma, the face the table is drawn for.
TEST_CASE("the window's controls are the table's at 96 DPI, and its icon has ink")
{
    AddFontResourceExW(L"Z:\\usr\\share\\wine\\fonts\\tahoma.ttf", FR_PRIVATE, nullptr);
    sg::win32::MessageLoop loop;
    FakeAccProps annotations;
    const sg::win32::MainWindow window(loop, annotations);
    std::vector<std::string> drawn;
    std::string shown;
    int tab = 0;
    for (HWND child = GetWindow(window.handle(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        drawn.push_back(RowOf(child, GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP ? tab++ : -1));
        shown += "\n  " + drawn.back();
    }
    INFO("drawn:" << shown);
    std::ifstream table("Z:" SG_SOURCE_DIR "/tests/data/main_window.txt");
    std::size_t rows = 0;
    for (std::string row; std::getline(table, row);) {
        if (row.empty() || row[0] == '#' || row.starts_with("line|") || row.starts_with("picture|"))
            continue;
        ++rows;
        CHECK_MESSAGE(std::any_of(drawn.begin(), drawn.end(),
                                  [&row](const std::string &d) { return Matches(d, row); }),
                      "differs from " << row);
    }
    CHECK(rows == drawn.size());
    RECT client{};
    GetClientRect(window.handle(), &client);
    CHECK(std::to_string(client.right) + "x" + std::to_string(client.bottom) == "335x309");
    // The characters a box takes as typed; a text set by message is not held to it.
    const auto limit = [&window](const ControlRef &box) {
        const HWND edit = GetDlgItem(window.handle(), sg::win32::ControlId(box));
        return std::to_string(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0)) + ' ';
    };
    CHECK(limit(DATA_BOX) + limit(ParamBox(0)) + limit(ParamBox(7)) + limit(COM_BOX) ==
          "16 2 2 2 ");
    CHECK(IconInk(window.handle()) > 100);
}

// While the user types, a box described in words is annotated anew with what its value means;
// the others keep their notes. The window takes every annotation with it.
TEST_CASE("the boxes are annotated as they stand, and the annotations go with the window")
{
    const std::vector<SpokenBox> spoken = SpokenBoxes();
    FakeAccProps service;
    sg::win32::MessageLoop loop;
    Journal journal;
    FakeLink link{journal};
    FakeTicker ticker{journal};
    FakeAlerts alerts{journal};
    sg::transfer::TransferEngine engine{link, ticker};
    const sg::protocol::FixedPortLister ports{sg::protocol::PortCatalog()};
    auto window = std::make_unique<sg::win32::MainWindow>(loop, service);
    sg::presenter::WindowPresenter presenter(*window, ports, engine, alerts);
    window->bind(presenter);
    const HWND handle = window->handle();
    const auto said = [&](const SpokenBox &row) {
        const HWND box = GetDlgItem(handle, sg::win32::ControlId(row.box));
        return service.texts.at({box, DWORD(OBJID_CLIENT), PROPID_ACC_NAME.Data1}) + L": " +
               service.texts.at({box, DWORD(OBJID_CLIENT), PROPID_ACC_HELP.Data1});
    };
    CHECK(said(spoken[2]) == L"Startup delay: x 4 ms, 00= no delay");
    for (const wchar_t *typed : {L"00", L"FF"}) {
        SetWindowTextW(GetDlgItem(handle, sg::win32::ControlId(spoken[3].box)), typed);
        CHECK(said(spoken[3]) == L"Mode: " + sg::win32::Widen(presenter.toolTip(spoken[3].box)));
    }
    window.reset(); // the presenter asks nothing of its view as it goes
    CHECK((!IsWindow(handle) && service.texts.empty()));
}

TEST_CASE("Enter in a box presses no button")
{
    SetText(COM_BOX, L"x"); // a button pressed now would show its error at once
    for (const ControlRef &box : {DATA_BOX, COM_BOX})
        PostMessageW(Item(box), WM_KEYDOWN, VK_RETURN, 0);
    CHECK_FALSE(WaitFor(BoxOpen, 1000));
}

TEST_CASE("sloppy hex is repaired on leaving the box")
{
    TabFrom(COM_BOX);
    TabFrom(DATA_BOX);
    SetText(ParamBox(0), L"3a");
    TabFrom(ParamBox(0));
    CHECK(Text(Item(ParamBox(0))) + Text(Item(ParamBox(7))) == "3A02");
}

TEST_CASE("a transfer ends with the buttons enabled and the boxes as the device has them")
{
    struct Row
    {
        const char *name;
        Arg port;
        std::vector<std::pair<ControlRef, std::wstring>> typed;
        ControlRef button;
        std::string boxes;
    };
    const Row rows[] = {
        {"read fills the boxes, the data cut to the device's length",
         ANSWERING,
         {},
         READ_BUTTON,
         "00010040190A0004 01020304"},
        {"a port its driver did not list opens by its number",
         UNLISTED,
         {{DATA_BOX, L"ff"}},
         READ_BUTTON,
         "00010040190A0004 01020304"},
        {"a number from the ports file reads through the network serial server",
         REMOTE,
         {{DATA_BOX, L"ff"}},
         READ_BUTTON,
         "00010040190A0004 01020304"},
        {"store sends both blocks and normalises the boxes",
         REMOTE,
         {{DATA_BOX, L"cafe"}, {ParamBox(6), L"3"}},
         STORE_BUTTON,
         "00010040190A0302 CAFE"},
    };
    for (const Row &row : rows) {
        INFO(row.name);
        SetText(COM_BOX, g_args[row.port]);
        for (const auto &[box, text] : row.typed)
            SetText(box, text);
        Press(row.button);
        Sleep(200);
        CHECK_FALSE(ButtonsEnabled());
        CHECK(WaitFor(ButtonsEnabled, 5000));
        if (const HWND box = MessageBoxOf(g_main)) {
            FAIL_CHECK("a message box said '" << ReadBox(box).text << "'");
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        CHECK(Boxes() == row.boxes);
    }
}

// What another process sees: the focus of the window's own thread.
bool FocusOnAnEnabledControl()
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(g_main, nullptr), &info);
    return info.hwndFocus && IsChild(g_main, info.hwndFocus) && IsWindowEnabled(info.hwndFocus);
}

TEST_CASE("a click on Read, which takes the focus, leaves it on an enabled control throughout")
{
    SetText(COM_BOX, g_args[ANSWERING]);
    Press(READ_BUTTON);
    CHECK(WaitFor([] { return !ButtonsEnabled(); }, 2000));
    CHECK(FocusOnAnEnabledControl());
    CHECK(WaitFor(ButtonsEnabled, 5000));
    CHECK(FocusOnAnEnabledControl());
}

TEST_CASE("a failed transfer gives one box, and then the window is ready again")
{
    struct Row
    {
        const char *name;
        Arg port;
        ControlRef button;
        std::string text;  // how the box's text begins
        std::string names; // a port the text names
        std::string icon;
        DWORD withinMs;
    };
    const std::string absent = Narrow(g_args[ABSENT]), answering = Narrow(g_args[ANSWERING]);
    const Row rows[] = {
        {"a silent device", SILENT, READ_BUTTON, "ERROR! No response.", "", "warning", 4000},
        {"a port that does not exist, at once, naming the ports there", ABSENT, STORE_BUTTON,
         "ERROR! Check COM settings\n\nCOM" + absent +
             ": no such port on this computer; ports here: ",
         "COM" + answering, "error", 1000},
        {"a device unplugged mid-store", UNPLUGGING, STORE_BUTTON, "ERROR! Check COM settings", "",
         "error", 4000},
    };
    for (const Row &row : rows) {
        INFO(row.name);
        SetText(COM_BOX, g_args[row.port]);
        Press(row.button);
        HWND box = nullptr;
        const bool opened =
            WaitFor([&] { return (box = MessageBoxOf(g_main)) != nullptr; }, row.withinMs);
        CHECK(opened);
        if (!opened)
            continue;
        Sleep(300); // painted
        const Box seen = ReadBox(box);
        const std::string icon = seen.icon ? IconOf(seen.icon) : "none";
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        CHECK(seen.title == "");
        CHECK(seen.text.substr(0, row.text.size()) == row.text);
        CHECK(seen.text.find(row.names) != std::string::npos);
        CHECK(icon == row.icon);
        CHECK(WaitFor([] { return !BoxOpen(); }, 2000));
        CHECK_FALSE(WaitFor(BoxOpen, 2500)); // no second box
        CHECK(ButtonsEnabled());
        CHECK(WaitFor(FocusOnAnEnabledControl, 2000)); // the box gave the focus back
    }
}

// Every help line ends inside the sheet, whatever the scale and face.
TEST_CASE("help lines stay inside the sheet")
{
    Press(HELP_BUTTON);
    HWND hint = nullptr;
    REQUIRE(
        WaitFor([&] { return (hint = FindWindowW(sg::win32::HINT_WINDOW_CLASS, nullptr)); }, 5000));
    Sleep(500); // painted
    const Ink ink = InkOf(hint);
    MESSAGE(Narrow(g_args[1]) << " (" << sg::win32::WindowDpi(hint) << " DPI, " << FaceOf(hint)
                              << "): " << ink.inSheet << " dark pixels in the sheet, "
                              << ink.inMargin << " in its right margin");
    // Closed from the keyboard alone: Alt+Space opens its window menu, and C closes it (each
    // lParam: one press, the key's scan code and, for Space, Alt held).
    PostMessageW(hint, WM_SYSKEYDOWN, VK_SPACE, 0x20390001);
    CHECK(WaitFor([] { return IsWindowVisible(FindWindowW(L"#32768", nullptr)); }, 2000));
    // A C posted the moment the menu shows is now and then lost: it goes again until it closes.
    CHECK(WaitFor(
        [&] {
            PostMessageW(hint, WM_KEYDOWN, 'C', 0x002E0001);
            return WaitFor([&] { return !IsWindow(hint); }, 400);
        },
        2000));
    if (IsWindow(hint))
        PostMessageW(hint, WM_CLOSE, 0, 0);
    CHECK(ink.inSheet >= 1000);
    CHECK(ink.inMargin == 0);
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    SetProcessDPIAware(); // sizes and pixels as the window has them, not scaled to 96 DPI
    g_args.assign(argv + 1, argv + argc);
    const bool helpOnly = argc == 3 && g_args[0] == L"help";
    if (argc != 7 && !helpOnly) {
        std::printf("usage: wine_driver COM_ANSWERING COM_SILENT COM_UNPLUGGING COM_ABSENT "
                    "COM_UNLISTED COM_REMOTE\n"
                    "       wine_driver help LABEL\n");
        return 2;
    }
    // Shown, not merely made: FindWindowW finds hidden windows too.
    if (!WaitFor(
            [] {
                g_main = FindWindowW(sg::win32::MAIN_WINDOW_CLASS, nullptr);
                return g_main && IsWindowVisible(g_main);
            },
            20000)) {
        std::printf("no sgsetup window appeared on the screen\n");
        return 1;
    }
    Sleep(300);
    doctest::Context context;
    context.setOption(helpOnly ? "test-case" : "test-case-exclude", "help*");
    context.setOption("no-intro", true);
    context.setOption("duration", true); // a line for each case
    const int failed = context.run();
    PostMessageW(g_main, WM_CLOSE, 0, 0);
    return failed;
}
