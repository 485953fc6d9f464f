#include "form/hint_layout.h"
#include "form/hint_sheet.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

using namespace sg::form;

namespace {

// Every character is as wide as its font's size in points; lines are twice as high.
struct PointsMeasure : TextMeasure
{
    int width(std::u16string_view text, const Font &font) const override
    {
        return static_cast<int>(static_cast<double>(text.size()) * font.points);
    }
    Metrics metrics(const Font &font) const override
    {
        const int height = static_cast<int>(2 * font.points);
        return {height, height * 3 / 4, height / 4};
    }
};

// As wide as that plus four points a character: small sizes shrink less than in proportion,
// so a guess from the proportion is too big.
struct PaddedMeasure : PointsMeasure
{
    int width(std::u16string_view text, const Font &font) const override
    {
        return static_cast<int>(static_cast<double>(text.size()) * (font.points + 4));
    }
};

const TextRun &RunOf(const HintLayout &layout, std::u16string_view text)
{
    return *std::find_if(layout.texts.begin(), layout.texts.end(),
                         [text](const TextRun &run) { return run.text == text; });
}

} // namespace

TEST_CASE("the notes fit, and no smaller; headings sit in frames; the formula is a fraction")
{
    // At the widest, a quarter point is 1/4 of 137 characters: 34 pixels.
    for (const int width : {2000, 1100, 900}) {
        CAPTURE(width);
        const HintLayout layout = LayOutHintSheet(PointsMeasure(), width);
        CHECK(layout.widest <= width - HINT_SHEET_MARGIN);
        CHECK((width == 2000) == (layout.noteFont.points == NOTE_FONT.points));
        CHECK((width == 2000 || layout.widest + 34 > width - HINT_SHEET_MARGIN));
    }
    // As wide as the widest note at 8 pt with both margins and the indent, and a pixel less.
    for (const auto &[width, points] : {std::pair{137 * 8 + 20, 8.0}, {137 * 8 + 19, 7.75}})
        CHECK(LayOutHintSheet(PointsMeasure(), width).noteFont.points == points);
    // Too narrow for the notes even at 6 pt, the smallest size: they stop there.
    for (const int width : {137 * 10 - 1 + HINT_SHEET_MARGIN, 300}) {
        CAPTURE(width);
        CHECK(LayOutHintSheet(PaddedMeasure(), width).noteFont.points == 6.0);
    }
    // Headings sit in their frames, and the formula reads as a fraction.
    const HintLayout layout = LayOutHintSheet(PointsMeasure(), 1000, 144);
    REQUIRE(layout.frames.size() == HintParagraphs().size());
    for (std::size_t i = 0; i < layout.frames.size(); ++i) {
        const FrameRun &frame = layout.frames[i];
        const TextRun &heading = RunOf(layout, HintParagraphs()[i].heading);
        CHECK((heading.x > frame.x && heading.baseline > frame.y && heading.font.bold));
        CHECK(heading.baseline < frame.y + frame.height);
    }
    const TextRun &numerator = RunOf(layout, FORMULA_NUMERATOR);
    const TextRun &power = RunOf(layout, FORMULA_EXPONENT);
    CHECK((power.baseline < numerator.baseline && power.x > numerator.x));
    for (const auto text : {FORMULA_LEFT, FORMULA_NUMERATOR, FORMULA_DENOMINATOR, FORMULA_RIGHT})
        CHECK(RunOf(layout, text).font == Font{9.75, true, false});
    CHECK(power.font == Font{7.5, true, false});
    CHECK((numerator.baseline < layout.barY &&
           RunOf(layout, FORMULA_DENOMINATOR).baseline > layout.barY));
    CHECK(RunOf(layout, FORMULA_LEFT).x < layout.barLeft);
    CHECK(RunOf(layout, FORMULA_RIGHT).x > layout.barRight);
}

TEST_CASE("the sheet is spaced to the pixel at 96 DPI")
{
    const PointsMeasure measure;
    const HintLayout layout = LayOutHintSheet(measure, 2000);
    const FrameRun &frame = layout.frames[0];
    const TextRun &heading = RunOf(layout, HintParagraphs()[0].heading);
    const auto &lines = HintParagraphs()[0].lines;
    const TextRun &below = RunOf(layout, FORMULA_DENOMINATOR);
    const int headingGap =
        frame.x + frame.width - heading.x - measure.width(heading.text, heading.font);
    const int belowGap = layout.barRight - below.x - measure.width(below.text, below.font);
    // Heading: centred in a frame 10 px wider and 4 px taller; lines (ascent 12, descent 4) 3 px
    // under it; the next frame 6 px on.
    CHECK(frame.height == measure.metrics(CAPTION_FONT).height + 4);
    CHECK(heading.baseline - measure.metrics(CAPTION_FONT).ascent - frame.y == 2);
    CHECK(std::abs(heading.x - frame.x - headingGap) <= 1);
    CHECK(headingGap == 5);
    CHECK(RunOf(layout, lines.front()).baseline - 12 == frame.y + frame.height + 3);
    CHECK(layout.frames[1].y == RunOf(layout, lines.back()).baseline + 4 + 1 + 6);
    CHECK(std::abs(below.x - layout.barLeft - belowGap) <= 1); // centred under the bar
    // The numerator 2 px over the bar (descent 4), its power half an ascent (14) higher.
    CHECK(RunOf(layout, FORMULA_NUMERATOR).baseline == layout.barY - 4 - 2);
    CHECK(RunOf(layout, FORMULA_EXPONENT).baseline == layout.barY - 4 - 2 - 7);
}

TEST_CASE("a screen reader hears the sheet's lines in order, and the formula in words")
{
    const std::u16string text = HintSheetText();
    const std::u16string formula = u"\nBRR equals 1 times 10 to the power of 7, divided by 16 "
                                   u"times baud, minus 1";
    CHECK(text.starts_with(u"BIT 0:\nxxxxxxx0 - fixed baud rates only, set by JUMPER"));
    CHECK(text.find(u"xxxxxxx1 - baud rates defined by BRR\nBIT 1:\nxxxxxx0x - ") !=
          std::u16string::npos);
    CHECK(text.find(u"BITS 2, 3, 4:\nxxxxx1xx - parity ODD\nxxxx1xxx - parity EVEN\nxxx1xxxx - "
                    u"two stop bits\nBIT 5:\nxx1xxxxx - no start and no stop bits used") !=
          std::u16string::npos);
    CHECK(text.ends_with(u"no start and no stop bits used" + formula));
    CHECK(std::count(text.begin(), text.end(), u'\n') == 13); // 4 headings, 9 lines
}
