#include "win32/hint_window.h"

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
