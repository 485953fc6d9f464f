#pragma once

#include "model/blocks.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

// Bytes and parameter blocks written as hex literals in tests; spaces are skipped.
inline sg::model::ByteString Bytes(std::string_view hex)
{
    sg::model::ByteString bytes;
    std::string digits;
    std::copy_if(hex.begin(), hex.end(), std::back_inserter(digits),
                 [](char c) { return c != ' '; });
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

inline sg::model::ParamBlock Params(std::string_view hex)
{
    sg::model::ParamBlock params{};
    const sg::model::ByteString bytes = Bytes(hex);
    std::copy_n(bytes.begin(), std::min(bytes.size(), params.size()), params.begin());
    return params;
}

// Upper-case hex without spaces.
inline std::string ToHex(const auto &bytes)
{
    static constexpr char DIGITS[] = "0123456789ABCDEF";
    std::string hex;
    for (const std::uint8_t byte : bytes) {
        hex += DIGITS[byte >> 4];
        hex += DIGITS[byte & 0x0F];
    }
    return hex;
}

// Box texts in ASCII, anything else as '?', so that doctest can print them.
inline std::string Ascii(const std::u16string &text)
{
    std::string ascii;
    for (const char16_t unit : text)
        ascii += unit < 0x80 ? static_cast<char>(unit) : '?';
    return ascii;
}
