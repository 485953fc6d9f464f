#include "win32/dpi.h"

#include <cmath>

namespace sg::win32 {

GdiObject<HFONT> CreateUiFont(const form::Font &font, UINT dpi)
{
    const auto height = static_cast<int>(std::lround(font.points * dpi / 72.0));
    return GdiObject<HFONT>(CreateFontW(-height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                                        font.italic, FALSE, FALSE, DEFAULT_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
}

SIZE WindowSizeFor(const form::Twips &client, DWORD style, DWORD exStyle, UINT dpi)
{
    RECT frame = PixelsOf(client, dpi);
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

} // namespace sg::win32
