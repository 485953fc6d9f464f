#include "form/hint_layout.h"

#include "form/hint_sheet.h"

#include <algorithm>
#include <cmath>

namespace sg::form {

namespace {

constexpr int BASE_DPI = 96;
constexpr int INDENT = 10;
constexpr Font FORMULA_FONT{9.75, true, false};
constexpr Font EXPONENT_FONT{7.5, true, false};

// Pixels at 96 DPI to pixels at dpi, rounded to the nearest.
int Scaled(int pixels, int dpi)
{
    return (pixels * dpi + BASE_DPI / 2) / BASE_DPI;
}

int WidestNote(const TextMeasure &measure, const Font &font)
{
    int widest = 0;
    for (const HintParagraph &paragraph : HintParagraphs()) {
        for (const std::u16string_view line : paragraph.lines)
            widest = std::max(widest, measure.width(line, font));
    }
    return widest;
}

// Width is nearly proportional to size, so the first guess is the proportion and rounding
// is mended a step at a time.
Font FittingNoteFont(const TextMeasure &measure, int room)
{
    constexpr double STEP = 0.25;
    constexpr double SMALLEST = 6.0;
    Font font = NOTE_FONT;
    const int widest = WidestNote(measure, font);
    if (widest <= room)
        return font;
    const double guess = std::floor(font.points * room / widest / STEP) * STEP;
    font.points = std::max(SMALLEST, std::min(guess, font.points - STEP));
    while (font.points - STEP >= SMALLEST && WidestNote(measure, font) > room)
        font.points -= STEP;
    return font;
}

// Returns the top of what follows.
int LayOutParagraphs(const TextMeasure &measure, int dpi, int left, int top, HintLayout &out)
{
    const TextMeasure::Metrics heading = measure.metrics(CAPTION_FONT);
    const TextMeasure::Metrics note = measure.metrics(out.noteFont);
    int y = top;
    for (const HintParagraph &paragraph : HintParagraphs()) {
        const int textWidth = measure.width(paragraph.heading, CAPTION_FONT);
        const FrameRun frame{left, y, textWidth + Scaled(10, dpi), heading.height + Scaled(4, dpi),
                             Scaled(4, dpi)};
        out.frames.push_back(frame);
        out.texts.push_back({left + (frame.width - textWidth) / 2,
                             y + (frame.height - heading.height) / 2 + heading.ascent,
                             paragraph.heading, CAPTION_FONT, Ink::Blue});
        y += frame.height + Scaled(3, dpi);
        for (const std::u16string_view line : paragraph.lines) {
            out.texts.push_back(
                {left + Scaled(INDENT, dpi), y + note.ascent, line, out.noteFont, Ink::Black});
            y += note.height + Scaled(1, dpi);
        }
        y += Scaled(6, dpi);
    }
    return y;
}

// BRR = (1 * 10^7) / (16 * baud) - 1.
void LayOutFormula(const TextMeasure &measure, int dpi, int left, int top, HintLayout &out)
{
    const TextMeasure::Metrics formula = measure.metrics(FORMULA_FONT);
    const auto width = [&measure](std::u16string_view text) {
        return measure.width(text, FORMULA_FONT);
    };
    const auto add = [&out](int x, int baseline, std::u16string_view text, const Font &font) {
        out.texts.push_back({x, baseline, text, font, Ink::Blue});
    };
    out.barY = top + formula.height + Scaled(2, dpi);
    const int middle = out.barY + formula.ascent / 2 - Scaled(1, dpi);
    int x = left + Scaled(INDENT, dpi);
    add(x, middle, FORMULA_LEFT, FORMULA_FONT);
    x += width(FORMULA_LEFT) + width(u" ");

    const int numeratorWidth =
        width(FORMULA_NUMERATOR) + measure.width(FORMULA_EXPONENT, EXPONENT_FONT);
    const int barWidth = std::max(numeratorWidth, width(FORMULA_DENOMINATOR)) + Scaled(8, dpi);
    const int numeratorX = x + (barWidth - numeratorWidth) / 2;
    const int numeratorBase = out.barY - formula.descent - Scaled(2, dpi);
    add(numeratorX, numeratorBase, FORMULA_NUMERATOR, FORMULA_FONT);
    add(numeratorX + width(FORMULA_NUMERATOR), numeratorBase - formula.ascent / 2, FORMULA_EXPONENT,
        EXPONENT_FONT);
    out.barLeft = x;
    out.barRight = x + barWidth;
    add(x + (barWidth - width(FORMULA_DENOMINATOR)) / 2, out.barY + formula.ascent + Scaled(2, dpi),
        FORMULA_DENOMINATOR, FORMULA_FONT);
    add(x + barWidth + Scaled(6, dpi), middle, FORMULA_RIGHT, FORMULA_FONT);
}

} // namespace

HintLayout LayOutHintSheet(const TextMeasure &measure, int width, int dpi)
{
    HintLayout layout;
    const int margin = Scaled(HINT_SHEET_MARGIN, dpi);
    const int indent = Scaled(INDENT, dpi);
    layout.noteFont = FittingNoteFont(measure, width - 2 * margin - indent);
    layout.widest = margin + indent + WidestNote(measure, layout.noteFont);
    layout.penWidth = Scaled(1, dpi);
    const int formulaTop = LayOutParagraphs(measure, dpi, margin, margin, layout);
    LayOutFormula(measure, dpi, margin, formulaTop, layout);
    return layout;
}

} // namespace sg::form
