#include "win32/panel_picture.h"

#include <doctest/doctest.h>

#include <cstdint>

TEST_CASE("the panel picture is drawn in its own colours, scaled, over nothing beyond it")
{
    constexpr int SIDE = 64;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), SIDE, -SIDE, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const struct
    {
        UINT dpi;
        int x, y;
        std::uint32_t colour; // 0xRRGGBB as read back; 0x010203 is the background left alone
    } rows[] = {
        {96, 0, 0, 0x303030},   {96, 1, 1, 0xE8E8E8},    {96, 2, 2, 0x1F3A93},
        {96, 6, 5, 0xFFD400},   {96, 20, 27, 0x303030},  {96, 21, 27, 0x010203},
        {96, 20, 28, 0x010203}, {144, 30, 41, 0x303030}, {144, 32, 41, 0x010203},
    };
    for (const auto &row : rows) {
        CAPTURE(row.dpi);
        CAPTURE(row.x);
        CAPTURE(row.y);
        void *bits = nullptr;
        const HDC dc = CreateCompatibleDC(nullptr);
        const HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ before = SelectObject(dc, dib);
        auto *pixels = static_cast<std::uint32_t *>(bits);
        std::fill(pixels, pixels + SIDE * SIDE, 0x010203u);
        sg::win32::PanelPicture().draw(dc, {0, 0}, row.dpi, RGB(1, 2, 3));
        GdiFlush();
        CHECK((pixels[row.y * SIDE + row.x] & 0xFFFFFFu) == row.colour);
        SelectObject(dc, before);
        DeleteObject(dib);
        DeleteDC(dc);
    }
}
