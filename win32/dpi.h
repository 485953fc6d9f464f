#pragma once

#include "form/form.h"
#include "win32/unique_handle.h"

#include <windows.h>

namespace sg::win32 {

inline constexpr UINT BASE_DPI = 96;

// Pixels at this monitor's dots per inch.
inline int Scaled(int pixelsAt96, UINT dpi)
{
    return MulDiv(pixelsAt96, static_cast<int>(dpi), static_cast<int>(BASE_DPI));
}

inline RECT PixelsOf(const form::Twips &twips, UINT dpi)
{
    const auto at = [dpi](int value) {
        return MulDiv(value, static_cast<int>(dpi), form::TWIPS_PER_INCH);
    };
    return {at(twips.left), at(twips.top), at(twips.left + twips.width),
            at(twips.top + twips.height)};
}

GdiObject<HFONT> CreateUiFont(const form::Font &font, UINT dpi);

// The window's dots per inch: its monitor's from Windows 10 1607 on, the system's before.
UINT WindowDpi(HWND window);

// The window's size for a client area of these twips, frame included (at dpi where
// Windows can say, else at the system's).
SIZE WindowSizeFor(const form::Twips &client, DWORD style, DWORD exStyle, UINT dpi);

} // namespace sg::win32
