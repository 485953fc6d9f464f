#include "win32/panel_picture.h"

#include "win32/dpi.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {
#include "artwork/panel_picture.xpm"
}

namespace sg::win32 {

PanelPicture::PanelPicture()
{
    int colours = 0;
    int perPixel = 0;
    std::sscanf(panel_picture[0], "%d %d %d %d", &m_width, &m_height, &colours, &perPixel);
    // One character a pixel: "k c #303030", ". c None".
    std::map<char, std::uint32_t> palette;
    for (int i = 1; i <= colours; ++i) {
        const std::string line = panel_picture[i];
        const std::string value = line.substr(line.rfind(' ') + 1);
        palette[line[0]] =
            value[0] == '#' ? 0xFF000000u | std::strtoul(value.c_str() + 1, nullptr, 16) : 0u;
    }
    for (int row = 0; row < m_height; ++row) {
        const char *pixels = panel_picture[1 + colours + row];
        for (int column = 0; column < m_width; ++column)
            m_pixels.push_back(palette[pixels[column]]);
    }
}

void PanelPicture::draw(HDC dc, POINT topLeft, UINT dpi, COLORREF background) const
{
    const std::uint32_t behind = 0xFF000000u | (GetRValue(background) << 16) |
                                 (GetGValue(background) << 8) | GetBValue(background);
    std::vector<std::uint32_t> opaque(m_pixels);
    for (std::uint32_t &pixel : opaque) {
        if ((pixel >> 24) == 0)
            pixel = behind;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, topLeft.x, topLeft.y, Scaled(m_width, dpi), Scaled(m_height, dpi), 0, 0,
                  m_width, m_height, opaque.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

} // namespace sg::win32
