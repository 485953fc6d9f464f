#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace sg::win32 {

// The small picture of the main window, from the same drawing the other front end shows.
class PanelPicture
{
public:
    PanelPicture();

    // At the top left of area, scaled to the monitor; clear pixels show background.
    void draw(HDC dc, POINT topLeft, UINT dpi, COLORREF background) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels; // 0xAARRGGBB, top row first; alpha 0 is clear
};

} // namespace sg::win32
