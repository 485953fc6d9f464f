#include "win32/hint_painter.h"
#include "win32/hint_window.h"
#include "win32/main_window.h"

#include <doctest/doctest.h>

// What the Help window hands the annotation service: the name its empty title cannot give,
// and the painted sheet's lines, the formula in words.
TEST_CASE("the help window's annotation names it and reads the whole sheet")
{
    const sg::win32::Annotation annotation = sg::win32::HintAnnotation();
    CHECK(annotation.name == L"Help");
    const std::wstring &text = annotation.description;
    CHECK(text.starts_with(L"BIT 0:\nxxxxxxx0 - fixed baud rates only, set by JUMPER"));
    CHECK(text.find(L"\nxxxxx1xx - parity ODD\nxxxx1xxx - parity EVEN\n") != std::wstring::npos);
    CHECK(text.ends_with(L"\nBRR equals 1 times 10 to the power of 7, divided by 16 times baud, "
                         L"minus 1"));
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
