#pragma once

#include "form/hint_layout.h"

#include <windows.h>

namespace sg::win32 {

// The sheet's paper, its text, and the blue of its frames and formula.
struct SheetInks
{
    COLORREF paper;
    COLORREF text;
    COLORREF blue;

    bool operator==(const SheetInks &) const = default;
};

// Black and blue on white, or, while High Contrast is on, the system's window, window text
// and hot-light colours, as Microsoft's High Contrast guidance asks.
SheetInks HintInks(bool highContrast);
// SPI_GETHIGHCONTRAST, asked at every paint: WM_SYSCOLORCHANGE repaints.
bool HighContrastOn();

// The reference sheet: headed paragraphs, then the formula; returns where it put them.
form::HintLayout PaintHintSheet(HDC dc, const RECT &sheet, UINT dpi, const SheetInks &inks);

} // namespace sg::win32
