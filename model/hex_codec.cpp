#include "model/hex_codec.h"

namespace sg::model {

namespace {

char16_t NibbleToDigit(int nibble)
{
    return static_cast<char16_t>(nibble < 10 ? u'0' + nibble : u'A' + nibble - 10);
}

} // namespace

std::u16string ByteToHex(int value)
{
    const int low8 = value & 0xFF;
    return {NibbleToDigit((low8 & 0xF0) >> 4), NibbleToDigit(low8 & 0x0F)};
}

std::u16string BytesToHex(std::span<const std::uint8_t> bytes)
{
    std::u16string text;
    for (const std::uint8_t byte : bytes)
        text += ByteToHex(byte);
    return text;
}

std::string HexText(std::span<const std::uint8_t> bytes, std::string_view separator)
{
    std::string text;
    for (const std::uint8_t byte : bytes) {
        if (!text.empty())
            text += separator;
        text += {static_cast<char>(NibbleToDigit(byte >> 4)),
                 static_cast<char>(NibbleToDigit(byte & 0x0F))};
    }
    return text;
}

std::optional<int> HexDigit(char32_t c)
{
    if (c >= U'0' && c <= U'9')
        return static_cast<int>(c - U'0');
    if (c >= U'a' && c <= U'f')
        return static_cast<int>(c - U'a') + 10;
    if (c >= U'A' && c <= U'F')
        return static_cast<int>(c - U'A') + 10;
    return std::nullopt;
}

int HexDigitValue(std::u16string_view text)
{
    return text.size() == 1 ? HexDigit(text.front()).value_or(0) : 0;
}

int HexDigitAt(std::u16string_view text, std::size_t position)
{
    return position < text.size() ? HexDigitValue(text.substr(position, 1)) : 0;
}

} // namespace sg::model
