#include "win32/hint_painter.h"

#include "form/hint_sheet.h"
#include "win32/dpi.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

#include <algorithm>
#include <cmath>

namespace sg::win32 {

namespace {

constexpr COLORREF BLUE = RGB(0x1F, 0x3A, 0x93);
constexpr int INDENT = 10;

// Draws text at one place and measures it, with the font it was made with.
class Writer
{
public:
    Writer(HDC dc, const form::Font &font, UINT dpi)
        : m_dc(dc), m_font(CreateUiFont(font, dpi)), m_selected(dc, m_font.get())
    {
        GetTextMetricsW(dc, &m_metrics);
    }

    int width(std::u16string_view text) const
    {
        // Measured in its own font, whichever another writer has selected since.
        const Selected own(m_dc, m_font.get());
        const std::wstring wide = FromU16(text);
        SIZE size{};
        GetTextExtentPoint32W(m_dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        return size.cx;
    }
    int height() const { return m_metrics.tmHeight; }
    int ascent() const { return m_metrics.tmAscent; }
    int descent() const { return m_metrics.tmDescent; }
    // baseline: the y of the text's base line, as the other front end places it.
    void draw(int x, int baseline, std::u16string_view text) const
    {
        const Selected own(m_dc, m_font.get());
        const std::wstring wide = FromU16(text);
        TextOutW(m_dc, x, baseline - ascent(), wide.c_str(), static_cast<int>(wide.size()));
    }

private:
    HDC m_dc;
    GdiObject<HFONT> m_font;
    Selected m_selected;
    TEXTMETRICW m_metrics{};
};

int WidestNote(HDC dc, const form::Font &font, UINT dpi)
{
    const Writer text(dc, font, dpi);
    int widest = 0;
    for (const form::HintParagraph &paragraph : form::HintParagraphs()) {
        for (const std::u16string_view line : paragraph.lines)
            widest = std::max(widest, text.width(line));
    }
    return widest;
}

// The notes' face, in quarter points, at the largest size whose widest line fits room: a
// face that Windows puts in for a missing Tahoma, or a larger scale, may run wider than
// the sheet was laid out for. Width is nearly proportional to size, so the first guess is
// the proportion and rounding is mended a step at a time.
form::Font FittingNoteFont(HDC dc, int room, UINT dpi)
{
    constexpr double STEP = 0.25;
    constexpr double SMALLEST = 6.0;
    form::Font font = form::NOTE_FONT;
    int widest = WidestNote(dc, font, dpi);
    if (widest <= room)
        return font;
    const double guess = std::floor(font.points * room / widest / STEP) * STEP;
    font.points = std::max(SMALLEST, std::min(guess, font.points - STEP));
    while (font.points - STEP >= SMALLEST && WidestNote(dc, font, dpi) > room)
        font.points -= STEP;
    return font;
}

int PaintParagraphs(HDC dc, int left, int top, int room, UINT dpi)
{
    const form::Font noteFont = FittingNoteFont(dc, room - Scaled(INDENT, dpi), dpi);
    const GdiObject<HPEN> frame(CreatePen(PS_SOLID, Scaled(1, dpi), BLUE));
    int y = top;
    for (const form::HintParagraph &paragraph : form::HintParagraphs()) {
        {
            const Writer heading(dc, form::CAPTION_FONT, dpi);
            const int width = heading.width(paragraph.heading) + Scaled(10, dpi);
            const int height = heading.height() + Scaled(4, dpi);
            const Selected pen(dc, frame.get());
            const Selected brush(dc, GetStockObject(NULL_BRUSH));
            RoundRect(dc, left, y, left + width, y + height, Scaled(8, dpi), Scaled(8, dpi));
            SetTextColor(dc, BLUE);
            heading.draw(left + (width - heading.width(paragraph.heading)) / 2,
                         y + (height - heading.height()) / 2 + heading.ascent(), paragraph.heading);
            y += height + Scaled(3, dpi);
        }
        const Writer text(dc, noteFont, dpi);
        SetTextColor(dc, RGB(0, 0, 0));
        for (const std::u16string_view line : paragraph.lines) {
            text.draw(left + Scaled(INDENT, dpi), y + text.ascent(), line);
            y += text.height() + Scaled(1, dpi);
        }
        y += Scaled(6, dpi);
    }
    return y;
}

// BRR = (1 * 10^7) / (16 * baud) - 1, as a real fraction.
void PaintFormula(HDC dc, int left, int top, UINT dpi)
{
    const Writer formula(dc, {9.75, true, false}, dpi);
    const int exponentWidth = [&] {
        const Writer exponent(dc, {7.5, true, false}, dpi);
        return exponent.width(form::FORMULA_EXPONENT);
    }();
    SetTextColor(dc, BLUE);
    const int barY = top + formula.height() + Scaled(2, dpi);
    int x = left + Scaled(INDENT, dpi);
    formula.draw(x, barY + formula.ascent() / 2 - Scaled(1, dpi), form::FORMULA_LEFT);
    x += formula.width(form::FORMULA_LEFT) + formula.width(u" ");

    const int numeratorWidth = formula.width(form::FORMULA_NUMERATOR) + exponentWidth;
    const int barWidth =
        std::max(numeratorWidth, formula.width(form::FORMULA_DENOMINATOR)) + Scaled(8, dpi);
    const int numeratorX = x + (barWidth - numeratorWidth) / 2;
    const int numeratorBase = barY - formula.descent() - Scaled(2, dpi);
    formula.draw(numeratorX, numeratorBase, form::FORMULA_NUMERATOR);
    {
        const Writer exponent(dc, {7.5, true, false}, dpi);
        exponent.draw(numeratorX + formula.width(form::FORMULA_NUMERATOR),
                      numeratorBase - formula.ascent() / 2, form::FORMULA_EXPONENT);
    }
    const GdiObject<HPEN> bar(CreatePen(PS_SOLID, Scaled(1, dpi), BLUE));
    {
        const Selected pen(dc, bar.get());
        MoveToEx(dc, x, barY, nullptr);
        LineTo(dc, x + barWidth, barY);
    }
    formula.draw(x + (barWidth - formula.width(form::FORMULA_DENOMINATOR)) / 2,
                 barY + formula.ascent() + Scaled(2, dpi), form::FORMULA_DENOMINATOR);
    formula.draw(x + barWidth + Scaled(6, dpi), barY + formula.ascent() / 2 - Scaled(1, dpi),
                 form::FORMULA_RIGHT);
}

} // namespace

void PaintHintSheet(HDC dc, const RECT &sheet, UINT dpi)
{
    FillRect(dc, &sheet, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    const int margin = Scaled(HINT_SHEET_MARGIN, dpi);
    const int room = sheet.right - sheet.left - 2 * margin;
    const int formulaTop = PaintParagraphs(dc, sheet.left + margin, sheet.top + margin, room, dpi);
    PaintFormula(dc, sheet.left + margin, formulaTop, dpi);
}

} // namespace sg::win32
