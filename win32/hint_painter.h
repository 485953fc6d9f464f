#pragma once

#include <windows.h>

namespace sg::win32 {

// The white kept free on every side of the sheet, in pixels at 96 DPI.
inline constexpr int HINT_SHEET_MARGIN = 5;

// The reference sheet, black and blue on white: headed paragraphs, then the formula.
void PaintHintSheet(HDC dc, const RECT &sheet, UINT dpi);

} // namespace sg::win32
