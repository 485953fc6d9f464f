#include "form/hint_layout.h"
#include "form/hint_sheet.h"

#include <doctest/doctest.h>

#include <algorithm>

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

const TextRun &RunOf(const HintLayout &layout, std::u16string_view text)
{
    return *std::find_if(layout.texts.begin(), layout.texts.end(),
                         [text](const TextRun &run) { return run.text == text; });
}

} // namespace

TEST_CASE("the notes step down until the widest fits, and no further")
{
    for (const int width : {2000, 1100, 900}) {
        CAPTURE(width);
        const HintLayout layout = LayOutHintSheet(PointsMeasure(), width);
        const int room = width - HINT_SHEET_MARGIN;
        CHECK(layout.widest <= room);
        CHECK((layout.noteFont.points == NOTE_FONT.points) == (width == 2000));
        Font larger = layout.noteFont;
        larger.points += 0.25;
        int widest = 0;
        for (const HintParagraph &paragraph : HintParagraphs()) {
            for (const std::u16string_view line : paragraph.lines)
                widest = std::max(widest, PointsMeasure().width(line, larger));
        }
        CHECK((width == 2000 || HINT_SHEET_MARGIN + 10 + widest > room));
    }
}

TEST_CASE("headings sit in their frames, and the formula reads as a fraction")
{
    const HintLayout layout = LayOutHintSheet(PointsMeasure(), 1000, 144);
    REQUIRE(layout.frames.size() == HintParagraphs().size());
    for (std::size_t i = 0; i < layout.frames.size(); ++i) {
        const FrameRun &frame = layout.frames[i];
        const TextRun &heading = RunOf(layout, HintParagraphs()[i].heading);
        CHECK(heading.x > frame.x);
        CHECK(heading.baseline > frame.y);
        CHECK(heading.baseline < frame.y + frame.height);
        CHECK(heading.font.bold);
    }
    const TextRun &numerator = RunOf(layout, FORMULA_NUMERATOR);
    const TextRun &power = RunOf(layout, FORMULA_EXPONENT);
    const TextRun &denominator = RunOf(layout, FORMULA_DENOMINATOR);
    CHECK(power.baseline < numerator.baseline);
    CHECK(power.font.points < numerator.font.points);
    CHECK(power.x > numerator.x);
    CHECK(numerator.baseline < layout.barY);
    CHECK(denominator.baseline > layout.barY);
    CHECK(RunOf(layout, FORMULA_RIGHT).x > layout.barRight);
    CHECK(RunOf(layout, FORMULA_LEFT).x < layout.barLeft);
}
