#pragma once

#include "form/form.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace sg::form {

// The white kept free on every side of the sheet, in pixels at 96 DPI.
inline constexpr int HINT_SHEET_MARGIN = 5;

// How a front end's fonts measure, in its own pixels.
class TextMeasure
{
public:
    struct Metrics
    {
        int height = 0;
        int ascent = 0;
        int descent = 0;
    };

    virtual ~TextMeasure() = default;
    virtual int width(std::u16string_view text, const Font &font) const = 0;
    virtual Metrics metrics(const Font &font) const = 0;
};

enum class Ink
{
    Black,
    Blue
};

// A colour the sheet is painted in, by its red, green and blue.
struct Colour
{
    std::uint8_t red = 0, green = 0, blue = 0;
};

// White paper, black text, and the blue of the headings, frames and bar; a front end
// takes the system's colours instead while High Contrast is on.
inline constexpr Colour PAPER_COLOUR{0xFF, 0xFF, 0xFF};
inline constexpr Colour TEXT_COLOUR{0x00, 0x00, 0x00};
inline constexpr Colour BLUE_COLOUR{0x1F, 0x3A, 0x93};

struct TextRun
{
    int x = 0;
    int baseline = 0;
    std::u16string_view text;
    Font font;
    Ink ink = Ink::Black;
};

// A blue frame with rounded corners, around a heading.
struct FrameRun
{
    int x = 0, y = 0, width = 0, height = 0, radius = 0;
};

// The help sheet as positioned runs: the headed paragraphs, then the divisor formula as
// a real fraction. The front ends only draw them.
struct HintLayout
{
    std::vector<FrameRun> frames;
    std::vector<TextRun> texts;
    int barLeft = 0, barRight = 0, barY = 0, penWidth = 1; // the fraction's bar, blue
    Font noteFont;  // the notes' face, stepped down until the widest line fits
    int widest = 0; // the right edge of the widest note
};

// The sheet laid out for a width in pixels at dpi (96, as Qt's device-independent pixels
// are at every scale): a face
// that stands in for Tahoma, or a larger scale, may run wider than the sheet was drawn
// for, so the notes step down a quarter point at a time until the widest fits.
HintLayout LayOutHintSheet(const TextMeasure &measure, int width, int dpi = 96);

} // namespace sg::form
