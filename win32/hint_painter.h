#pragma once

#include <windows.h>

namespace sg::win32 {

// The reference sheet, black and blue on white: headed paragraphs, then the formula.
void PaintHintSheet(HDC dc, const RECT &sheet, UINT dpi);

} // namespace sg::win32
