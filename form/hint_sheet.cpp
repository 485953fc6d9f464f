#include "form/hint_sheet.h"

#include <array>

namespace sg::form {

namespace {

constexpr std::array<std::u16string_view, 2> BIT0{
    u"xxxxxxx0 - fixed baud rates only, set by JUMPER (open = 8192 baud, closed = 16384 baud, "
    u"1 start bit, 1 stop bit, no parity, no inversion)",
    u"xxxxxxx1 - baud rates defined by BRR"};
constexpr std::array<std::u16string_view, 3> BIT1{
    u"xxxxxx0x - output is not inverted (1= LOW level on line, 0= HIGH level, idle = HIGH level)",
    u"xxxxxx1x - output is inverted (1= HIGH level on line, 0= LOW level, idle = LOW level)",
    u"when using \u201cinverted\u201d mode take some attention that there is a HIGH level on line "
    u"until MCU powers up (some tens of miliseconds)"};
constexpr std::array<std::u16string_view, 3> BITS234{
    u"xxxxx1xx - parity ODD", u"xxxx1xxx - parity EVEN", u"xxx1xxxx - two stop bits"};
constexpr std::array<std::u16string_view, 1> BIT5{u"xx1xxxxx - no start and no stop bits used"};

constexpr std::array<HintParagraph, 4> PARAGRAPHS{{
    {u"BIT 0:", BIT0},
    {u"BIT 1:", BIT1},
    {u"BITS 2, 3, 4:", BITS234},
    {u"BIT 5:", BIT5},
}};

// Signs a reader would spell out, in words.
std::u16string Spoken(std::u16string_view formula)
{
    std::u16string words;
    for (const char16_t c : formula) {
        switch (c) {
        case u'=':
            words += u"equals";
            break;
        case u'*':
            words += u"times";
            break;
        case u'-':
            words += u"minus";
            break;
        default:
            words += c;
        }
    }
    return words;
}

} // namespace

std::span<const HintParagraph> HintParagraphs()
{
    return PARAGRAPHS;
}

std::u16string HintSheetText()
{
    std::u16string text;
    for (const HintParagraph &paragraph : PARAGRAPHS) {
        text += paragraph.heading;
        for (const std::u16string_view line : paragraph.lines)
            text.append(u"\n").append(line);
        text += u'\n';
    }
    return text + Spoken(FORMULA_LEFT) + u' ' + Spoken(FORMULA_NUMERATOR) + u" to the power of " +
           std::u16string(FORMULA_EXPONENT) + u", divided by " + Spoken(FORMULA_DENOMINATOR) +
           u", " + Spoken(FORMULA_RIGHT);
}

} // namespace sg::form
