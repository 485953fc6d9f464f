#include "fake_acc_props.h"
#include "form/hint_sheet.h"
#include "win32/dpi.h"
#include "win32/hint_painter.h"
#include "win32/hint_window.h"
#include "win32/main_window.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

#include <doctest/doctest.h>

#include <cstdint>
#include <string>
#include <utility>

// What a screen reader finds in the Help window: its name, which the empty title cannot
// give, and the sheet as its lines, in reading order, the formula in words.
TEST_CASE("the help sheet is a client named Help whose children are the sheet's lines")
{
    CHECK(sg::win32::HintAnnotation().name == L"Help");
    CHECK(sg::win32::HintAnnotation().description.empty());
    IAccessible *sheet = sg::win32::NewSheetAccessible(nullptr);
    VARIANT child{};
    child.vt = VT_I4;
    const auto named = [&](long id, long role) {
        child.lVal = id;
        BSTR name = nullptr;
        VARIANT given{};
        sheet->get_accName(child, &name);
        sheet->get_accRole(child, &given);
        const std::wstring text = given.lVal == role && name ? name : L"?";
        SysFreeString(name);
        return text;
    };
    long count = 0;
    REQUIRE(sheet->get_accChildCount(&count) == S_OK);
    CHECK(named(CHILDID_SELF, ROLE_SYSTEM_CLIENT) == L"Help");
    std::wstring lines = named(1, ROLE_SYSTEM_STATICTEXT);
    for (long id = 2; id <= count; ++id)
        lines += L"\n" + named(id, ROLE_SYSTEM_STATICTEXT);
    CHECK(lines == sg::win32::FromU16(sg::form::HintSheetText()));
    child.lVal = count + 1;
    BSTR beyond = nullptr;
    CHECK(sheet->get_accName(child, &beyond) == E_INVALIDARG);
    const VARIANT empty{}; // no child id at all, though its value reads as the sheet's
    CHECK(sheet->get_accName(empty, &beyond) == E_INVALIDARG);
    // Every item is read-only text, the sheet itself too; past the last there is none.
    for (const long id : {long(CHILDID_SELF), 1L, count, count + 1}) {
        CAPTURE(id);
        child.lVal = id;
        VARIANT state{};
        const HRESULT got = sheet->get_accState(child, &state);
        CHECK((id <= count ? got == S_OK && state.lVal == STATE_SYSTEM_READONLY
                           : got == E_INVALIDARG));
    }
    // COM's rules: IUnknown and the accessible interfaces answer, nothing else does.
    const std::pair<IID, bool> interfaces[] = {{IID_IUnknown, true},
                                               {IID_IDispatch, true},
                                               {__uuidof(IAccessible), true},
                                               {IID_IEnumVARIANT, false}};
    for (const auto &[id, answers] : interfaces) {
        void *found = &count;
        CHECK((sheet->QueryInterface(id, &found) == S_OK) == answers);
        CHECK((found != nullptr) == answers);
        if (found)
            static_cast<IUnknown *>(found)->Release();
    }
    sheet->Release();
}

// The rest of what a client may ask, each answer whole: where the sheet is (off the screen's
// corner, so that a width taken from the wrong edges shows), what is at a point, moving between
// lines, and the properties no line has, for the sheet, its first and last line and one past them.
TEST_CASE("the help sheet answers for its place, its points, its order and its blanks")
{
    // A message-only window: no display needed, and a place of its own.
    const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 200, 100, 300, 150,
                                        HWND_MESSAGE, nullptr, nullptr, nullptr);
    REQUIRE(window);
    IAccessible *sheet = sg::win32::NewSheetAccessible(window);
    long n = 0;
    sheet->get_accChildCount(&n);
    const long ids[] = {CHILDID_SELF, 1, n, n + 1};
    const auto at = [](long id) {
        VARIANT v{};
        v.vt = VT_I4;
        v.lVal = id;
        return v;
    };
    const auto said = [](HRESULT got, const VARIANT &v = {}) {
        const std::string code = got == S_OK           ? "ok"
                                 : got == S_FALSE      ? "none"
                                 : got == E_INVALIDARG ? "invalid"
                                                       : "fault";
        return (v.vt == VT_I4 ? code + " " + std::to_string(v.lVal) : code) + " | ";
    };
    long l = 0, t = 0, w = 0, h = 0;
    std::string answers = said(sheet->accLocation(&l, &t, &w, &h, at(n)));
    answers += std::to_string(l) + "," + std::to_string(t) + " " + std::to_string(w) + "x" +
               std::to_string(h) + " | " + said(sheet->accLocation(&l, &t, &w, &h, at(n + 1)));
    for (const auto &[x, y] : {std::pair{200L, 100L}, {499L, 249L}, {199L, 100L}, {500L, 249L}}) {
        VARIANT hit{};
        answers += said(sheet->accHitTest(x, y, &hit), hit);
    }
    const std::pair<long, long> moves[] = {{NAVDIR_FIRSTCHILD, CHILDID_SELF},
                                           {NAVDIR_LASTCHILD, CHILDID_SELF},
                                           {NAVDIR_FIRSTCHILD, 1},
                                           {NAVDIR_NEXT, 1},
                                           {NAVDIR_DOWN, 1},
                                           {NAVDIR_NEXT, n},
                                           {NAVDIR_PREVIOUS, 2},
                                           {NAVDIR_UP, 2},
                                           {NAVDIR_PREVIOUS, 1},
                                           {NAVDIR_NEXT, CHILDID_SELF},
                                           {NAVDIR_LEFT, 1},
                                           {NAVDIR_NEXT, n + 1}};
    for (const auto &[direction, from] : moves) {
        VARIANT to{};
        answers += said(sheet->accNavigate(direction, at(from), &to), to);
    }
    wchar_t untouched[] = L"?";
    for (const auto blank :
         {&IAccessible::get_accValue, &IAccessible::get_accDescription, &IAccessible::get_accHelp,
          &IAccessible::get_accKeyboardShortcut, &IAccessible::get_accDefaultAction})
        for (const long id : ids) {
            BSTR text = untouched;
            const HRESULT got = (sheet->*blank)(at(id), &text);
            answers += said(got == S_FALSE && text ? E_FAIL : got);
        }
    for (const long id : ids) {
        IDispatch *line = sheet;
        const HRESULT got = sheet->get_accChild(at(id), &line);
        answers += said(line ? E_FAIL : got);
    }
    std::string expected =
        "ok | 200,100 300x150 | invalid | ok 0 | ok 0 | none | none | ok 1 | ok " +
        std::to_string(n) + " | none | ok 2 | ok 2 | none | ok 1 | ok 1 | " +
        "none | none | none | invalid | ";
    for (int property = 0; property < 5; ++property)
        expected += "none | none | none | invalid | ";
    CHECK(answers == expected + "invalid | none | none | invalid | ");
    sheet->Release();
    DestroyWindow(window);
}

// The window answers for its client with the sheet and leaves its frame to the system.
TEST_CASE("the help window hands out the sheet for its client only")
{
    REQUIRE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); // as the program
    FakeAccProps service;
    sg::win32::HintWindow hint(service);
    hint.show(HWND_MESSAGE); // no display needed
    const HWND window = hint.handle();
    REQUIRE(window);
    CHECK(service.texts.at({window, DWORD(OBJID_WINDOW), PROPID_ACC_NAME.Data1}) == L"Help");
    CHECK(SendMessageW(window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_WINDOW)) == 0);
    const LRESULT client = SendMessageW(window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    REQUIRE(client > 0);
    IAccessible *sheet = nullptr;
    REQUIRE(ObjectFromLresult(client, __uuidof(IAccessible), 0,
                              reinterpret_cast<void **>(&sheet)) == S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    CHECK(sheet->get_accName(self, &name) == S_OK);
    CHECK(std::wstring(name ? name : L"") == L"Help");
    SysFreeString(name);
    CHECK(sheet->Release() == 0); // the window kept no reference of its own
    DestroyWindow(window);
    CoUninitialize();
}

// Without COM the program still starts; the service it could not make is never touched.
TEST_CASE("the system's annotation service without COM refuses every call and ends cleanly")
{
    sg::win32::SystemAccProps service;
    CHECK(service.setHwndPropStr(nullptr, DWORD(OBJID_CLIENT), PROPID_ACC_NAME, L"x") ==
          CO_E_NOTINITIALIZED);
    CHECK(service.clearHwndProps(nullptr, DWORD(OBJID_CLIENT), &PROPID_ACC_NAME, 1) ==
          CO_E_NOTINITIALIZED);
}

// Each box's annotation comes from the one table both windows read: its note as help, or
// what its value means in words.
TEST_CASE("a box is annotated with its name and, as help, its note or its value in words")
{
    const std::vector<sg::form::SpokenBox> spoken = sg::form::SpokenBoxes();
    const sg::win32::Annotation startup = sg::win32::BoxAnnotation(spoken[2], "unused");
    const sg::win32::Annotation mode = sg::win32::BoxAnnotation(spoken[3], "Mode 01: ...");
    CHECK((startup.name == L"Startup delay" && startup.help == L"x 4 ms, 00= no delay"));
    CHECK((mode.name == L"Mode" && mode.help == L"Mode 01: ..."));
}

TEST_CASE("the help sheet's inks: its own, or the system's while High Contrast is on")
{
    using sg::win32::SheetInks;
    CHECK(sg::win32::HintInks(false) == SheetInks{RGB(0xFF, 0xFF, 0xFF), 0, RGB(0x1F, 0x3A, 0x93)});
    CHECK(sg::win32::HintInks(true) == SheetInks{GetSysColor(COLOR_WINDOW),
                                                 GetSysColor(COLOR_WINDOWTEXT),
                                                 GetSysColor(COLOR_HOTLIGHT)});
}

// Each frame where the layout puts it: its right edge at its width, its corners rounded by
// its radius (a quarter of an 8-pixel circle at 96 DPI), no more and no less.
TEST_CASE("the help sheet's frames are drawn as the layout gives them")
{
    const RECT placed = sg::win32::PixelsOf(sg::form::HINT_SHEET, 96);
    const RECT sheet{0, 0, placed.right - placed.left, placed.bottom - placed.top};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, sheet.right, -sheet.bottom, 1, 32, BI_RGB};
    void *bits = nullptr;
    const sg::win32::GdiObject<HBITMAP> bitmap(
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap.get());
    const sg::form::HintLayout layout =
        sg::win32::PaintHintSheet(dc, sheet, 96, {RGB(255, 255, 255), 0, RGB(0, 0, 255)});
    const auto blue = [&](int x, int y) {
        return static_cast<const std::uint32_t *>(bits)[y * sheet.right + x] == 0xFF ? 'B' : '.';
    };
    REQUIRE(layout.frames.size() > 1);
    for (const sg::form::FrameRun &f : layout.frames) {
        std::string corner;
        for (int y = f.y; y < f.y + f.radius; ++y)
            for (int x = f.x; x < f.x + f.radius; ++x)
                corner += blue(x, y);
        CHECK(corner == "..BB"
                        ".B.."
                        "B..."
                        "B...");
        CHECK(blue(f.x + f.width - 1, f.y + f.height / 2) == 'B');
    }
    DeleteDC(dc);
}
