#include "win32/dpi.h"

#include <cmath>
#include <utility>

namespace sg::win32 {

namespace {

// Newer than Windows 7, so looked up rather than imported: an import Windows lacks stops
// the exe before it starts.
template <typename Function> Function *User32Function(const char *name)
{
    return reinterpret_cast<Function *>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

} // namespace

GdiObject<HFONT> CreateUiFont(const form::Font &font, UINT dpi)
{
    const auto height = static_cast<int>(std::lround(font.points * dpi / 72.0));
    return GdiObject<HFONT>(CreateFontW(-height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                                        font.italic, FALSE, FALSE, DEFAULT_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
}

HFONT FontCache::get(const form::Font &font)
{
    auto [at, isNew] = m_fonts.try_emplace(font);
    if (isNew)
        at->second = CreateUiFont(font, m_dpi);
    return at->second.get();
}

void FontCache::reset(UINT dpi)
{
    m_dpi = dpi;
    m_retired = std::exchange(m_fonts, {});
}

UINT WindowDpi(HWND window)
{
    static const auto forWindow = User32Function<UINT WINAPI(HWND)>("GetDpiForWindow");
    if (forWindow)
        return forWindow(window);
    const int dpi = GetDeviceCaps(WindowDc(nullptr).get(), LOGPIXELSX);
    return dpi > 0 ? static_cast<UINT>(dpi) : BASE_DPI;
}

SIZE WindowSizeFor(const form::Twips &client, DWORD style, DWORD exStyle, UINT dpi)
{
    static const auto forDpi =
        User32Function<BOOL WINAPI(RECT *, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    RECT frame = PixelsOf(client, dpi);
    if (forDpi)
        forDpi(&frame, style, FALSE, exStyle, dpi);
    else
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

} // namespace sg::win32
