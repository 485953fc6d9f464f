#include "model/strict_hex.h"

#include "model/hex_codec.h"
#include "model/text.h"

#include <algorithm>

namespace sg::model {

namespace {

constexpr std::size_t MIN_GIVEN_PARAMS = PARAM_COUNT - 1;

// Pairs of digits; nothing when a character is not a digit or one is left over.
std::optional<ByteString> DigitPairs(std::string_view digits)
{
    if (digits.size() % 2 != 0)
        return std::nullopt;
    ByteString bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const std::optional<int> high = HexDigit(static_cast<unsigned char>(digits[i]));
        const std::optional<int> low = HexDigit(static_cast<unsigned char>(digits[i + 1]));
        if (!high || !low)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(*high * 16 + *low));
    }
    return bytes;
}

} // namespace

std::optional<DataBlock> ParseStrictData(std::string_view text, std::string &error)
{
    std::optional<ByteString> bytes = DigitPairs(text);
    if (!bytes || bytes->size() > MAX_DATA_BYTES) {
        error = "expected 0 to 16 hex digits, an even count, got " + Quoted(text);
        return std::nullopt;
    }
    return bytes;
}

std::optional<ByteString> ParseStrictParamBytes(std::string_view text, std::string &error)
{
    ByteString bytes;
    bool valid = true;
    std::size_t start = 0;
    while (valid && start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::optional<ByteString> token = DigitPairs(text.substr(start, end - start));
        valid = token.has_value();
        if (valid)
            bytes.insert(bytes.end(), token->begin(), token->end());
        start = end + 1;
    }
    if (!valid || bytes.size() < MIN_GIVEN_PARAMS || bytes.size() > PARAM_COUNT) {
        error = "expected 7 or 8 two-digit hex bytes, spaces optional, got " + Quoted(text);
        return std::nullopt;
    }
    return bytes;
}

std::optional<ParamBlock> CompleteParams(const ByteString &bytes, std::size_t dataLength,
                                         std::string &error)
{
    ParamBlock params{};
    std::copy(bytes.begin(), bytes.end(), params.begin());
    if (bytes.size() == PARAM_COUNT && params[LENGTH_PARAM_INDEX] != dataLength) {
        error = "byte 7 (length) is " + HexText(std::span(params).subspan(LENGTH_PARAM_INDEX, 1)) +
                " but the data has " + std::to_string(dataLength) + " bytes";
        return std::nullopt;
    }
    params[LENGTH_PARAM_INDEX] = static_cast<std::uint8_t>(dataLength);
    return params;
}

} // namespace sg::model
