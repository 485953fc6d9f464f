#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sg::model {

// Two upper-case hex digits of the low 8 bits of value, high digit first.
std::u16string ByteToHex(int value);

// ByteToHex of each byte in order, as the DATA box shows a block.
std::u16string BytesToHex(std::span<const std::uint8_t> bytes);

// Bytes as text, two upper-case digits each, with separator between them: "440518" for a
// profile or a report's data, "44 05 18" as a person reads them off a line.
std::string HexText(std::span<const std::uint8_t> bytes, std::string_view separator = {});

// The value of one hex digit of either case, ASCII only; nothing for any other character.
// Strict input rejects what this does not take; the boxes' repair reads it as 0.
std::optional<int> HexDigit(char32_t c);

// Value of a single hex digit of either case; anything else, including the empty
// string and longer strings, is 0. Sloppy input is repaired, never rejected.
int HexDigitValue(std::u16string_view text);

// The digit at position of text as HexDigitValue sees it: past the end it is empty.
int HexDigitAt(std::u16string_view text, std::size_t position);

} // namespace sg::model
