#pragma once

#include "form/form.h"
#include "win32/unique_handle.h"

#include <windows.h>

#include <map>

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

// The form's faces as fonts at one DPI, each made once and kept while the cache lives.
class FontCache
{
public:
    explicit FontCache(UINT dpi) : m_dpi(dpi) {}

    HFONT get(const form::Font &font);
    // Fonts for another DPI from now on. The old ones stay until the next reset: the
    // controls still use them until they are given the new ones, and a font is deleted
    // only after no control uses it (WM_SETFONT).
    void reset(UINT dpi);

private:
    UINT m_dpi;
    std::map<form::Font, GdiObject<HFONT>> m_fonts;
    std::map<form::Font, GdiObject<HFONT>> m_retired;
};

// The window's dots per inch: its monitor's from Windows 10 1607 on, the system's before.
UINT WindowDpi(HWND window);

// The window's size for a client area of these twips, frame included (at dpi where
// Windows can say, else at the system's).
SIZE WindowSizeFor(const form::Twips &client, DWORD style, DWORD exStyle, UINT dpi);

} // namespace sg::win32
