#include "hex_bytes.h"
#include "model/strict_hex.h"

#include <doctest/doctest.h>

#include <string>

using namespace sg::model;

TEST_CASE("strict data takes 0 to 16 hex digits, an even count")
{
    const struct
    {
        const char *text;
        const char *bytes; // nullptr: refused
    } rows[] = {
        {"", ""},
        {"0a", "0A"},
        {"0123456789abcdef", "0123456789ABCDEF"},
        {"123", nullptr},
        {"0g", nullptr},
        {"01 02", nullptr},
        {"0123456789abcdef01", nullptr},
    };
    for (const auto &row : rows) {
        CAPTURE(row.text);
        std::string error;
        const std::optional<DataBlock> data = ParseStrictData(row.text, error);
        REQUIRE(data.has_value() == (row.bytes != nullptr));
        if (data)
            CHECK(ToHex(*data) == row.bytes);
        else
            CHECK(error.find(std::string("got '") + row.text + "'") != std::string::npos);
    }
}

TEST_CASE("strict params take 7 or 8 two-digit bytes, and the length is the data's")
{
    const struct
    {
        const char *text;
        std::size_t dataLength;
        const char *params; // nullptr: refused
        const char *error;
    } rows[] = {
        {"00 01 00 40 19 0A 00", 8, "00010040190A0008", ""},
        {"00010040190A00", 0, "00010040190A0000", ""},
        {"0001004019 0A 00 03", 3, "00010040190A0003", ""},
        {"0001004019 0A 00 03", 2, nullptr, "byte 7 (length) is 03 but the data has 2 bytes"},
        {"00 01 00 40 19 0A", 0, nullptr, "expected 7 or 8"},
        {"00 01 00 40 19 0A 00 04 00", 4, nullptr, "expected 7 or 8"},
        {"0 01 00 40 19 0A 00", 0, nullptr, "expected 7 or 8"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.text);
        std::string error;
        std::optional<ParamBlock> params;
        if (const std::optional<ByteString> bytes = ParseStrictParamBytes(row.text, error))
            params = CompleteParams(*bytes, row.dataLength, error);
        REQUIRE(params.has_value() == (row.params != nullptr));
        if (params)
            CHECK(ToHex(*params) == row.params);
        else
            CHECK_MESSAGE(error.find(row.error) != std::string::npos, error);
    }
}
