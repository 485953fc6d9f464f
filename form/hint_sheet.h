#pragma once

#include "form/form.h"

#include <span>
#include <string>
#include <string_view>

namespace sg::form {

struct HintParagraph
{
    std::u16string_view heading;
    std::span<const std::u16string_view> lines;
};

// The reference behind the Help button: the bits of the mode byte, top to bottom.
std::span<const HintParagraph> HintParagraphs();

// The divisor formula below them: BRR = (1 * 10^7) / (16 * baud) - 1.
inline constexpr std::u16string_view FORMULA_LEFT = u"BRR =";
inline constexpr std::u16string_view FORMULA_NUMERATOR = u"1 * 10";
inline constexpr std::u16string_view FORMULA_EXPONENT = u"7";
inline constexpr std::u16string_view FORMULA_DENOMINATOR = u"16 * baud";
inline constexpr std::u16string_view FORMULA_RIGHT = u"- 1";

// The sheet as a screen reader reads it, from the same lines: each heading, its lines, then
// the formula in words.
std::u16string HintSheetText();

// The sheet's name in the help window, as the main window's controls have theirs.
inline constexpr std::string_view HINT_SHEET_NAME = "Picture1";

// What a screen reader calls the help window, whose title bar stays empty.
inline constexpr std::u16string_view HINT_NAME = u"Help";

inline constexpr Twips HINT_CLIENT{0, 0, 10590, 4590};
inline constexpr Twips HINT_SHEET{120, 120, 10335, 4335};

} // namespace sg::form
