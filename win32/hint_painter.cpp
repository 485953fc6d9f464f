#include "win32/hint_painter.h"

#include "form/hint_layout.h"
#include "win32/dpi.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

namespace sg::win32 {

namespace {

// The fonts a paint makes, each once, measured and drawn in on one device context.
class GdiFonts : public form::TextMeasure
{
public:
    GdiFonts(HDC dc, UINT dpi, const SheetInks &inks) : m_dc(dc), m_fonts(dpi), m_inks(inks) {}

    int width(std::u16string_view text, const form::Font &font) const override
    {
        const Selected own(m_dc, fontFor(font));
        const std::wstring wide = FromU16(text);
        SIZE size{};
        GetTextExtentPoint32W(m_dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        return size.cx;
    }
    Metrics metrics(const form::Font &font) const override
    {
        const Selected own(m_dc, fontFor(font));
        TEXTMETRICW metrics{};
        GetTextMetricsW(m_dc, &metrics);
        return {metrics.tmHeight, metrics.tmAscent, metrics.tmDescent};
    }
    void draw(const form::TextRun &run) const
    {
        const Selected own(m_dc, fontFor(run.font));
        const std::wstring wide = FromU16(run.text);
        SetTextColor(m_dc, run.ink == form::Ink::Blue ? m_inks.blue : m_inks.text);
        TextOutW(m_dc, run.x, run.baseline - metrics(run.font).ascent, wide.c_str(),
                 static_cast<int>(wide.size()));
    }

private:
    HFONT fontFor(const form::Font &font) const { return m_fonts.get(font); }

    HDC m_dc;
    mutable FontCache m_fonts;
    SheetInks m_inks;
};

} // namespace

SheetInks HintInks(bool highContrast)
{
    if (highContrast)
        return {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT),
                GetSysColor(COLOR_HOTLIGHT)};
    const auto colour = [](const form::Colour &c) { return RGB(c.red, c.green, c.blue); };
    return {colour(form::PAPER_COLOUR), colour(form::TEXT_COLOUR), colour(form::BLUE_COLOUR)};
}

bool HighContrastOn()
{
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

form::HintLayout PaintHintSheet(HDC dc, const RECT &sheet, UINT dpi, const SheetInks &inks)
{
    const GdiObject<HBRUSH> paper(CreateSolidBrush(inks.paper));
    FillRect(dc, &sheet, paper.get());
    SetBkMode(dc, TRANSPARENT);
    const GdiFonts fonts(dc, dpi, inks);
    const form::HintLayout layout =
        form::LayOutHintSheet(fonts, sheet.right - sheet.left, static_cast<int>(dpi));
    const GdiObject<HPEN> blue(CreatePen(PS_SOLID, layout.penWidth, inks.blue));
    const Selected pen(dc, blue.get());
    const Selected brush(dc, GetStockObject(NULL_BRUSH));
    for (const form::FrameRun &frame : layout.frames) {
        const int left = sheet.left + frame.x;
        const int top = sheet.top + frame.y;
        RoundRect(dc, left, top, left + frame.width, top + frame.height, 2 * frame.radius,
                  2 * frame.radius);
    }
    MoveToEx(dc, sheet.left + layout.barLeft, sheet.top + layout.barY, nullptr);
    LineTo(dc, sheet.left + layout.barRight, sheet.top + layout.barY);
    for (form::TextRun run : layout.texts) {
        run.x += sheet.left;
        run.baseline += sheet.top;
        fonts.draw(run);
    }
    return layout;
}

} // namespace sg::win32
