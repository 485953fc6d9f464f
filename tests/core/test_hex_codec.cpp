#include "model/hex_codec.h"

#include <doctest/doctest.h>

#include <string>

using sg::model::ByteToHex;
using sg::model::HexDigitValue;

TEST_CASE("ByteToHex writes the low eight bits as two upper-case digits")
{
    const struct
    {
        const char *name;
        int value;
        std::u16string hex;
    } rows[] = {
        {"zero", 0, u"00"},
        {"ten has a leading zero", 10, u"0A"},
        {"max", 255, u"FF"},
        {"bit 8 ignored", 256, u"00"},
        {"high bits ignored", 0x1A5, u"A5"},
        {"negative keeps low bits", -1, u"FF"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        CHECK(ByteToHex(row.value) == row.hex);
    }
}

TEST_CASE("HexDigitValue takes one ASCII hex digit, anything else is 0")
{
    const struct
    {
        const char *name;
        std::u16string text;
        int value;
    } rows[] = {
        {"digit", u"7", 7},          {"lower", u"c", 12},
        {"upper", u"C", 12},         {"f", u"f", 15},
        {"past F", u"G", 0},         {"empty", u"", 0},
        {"two digits", u"1F", 0},    {"space", u" ", 0},
        {"non-ASCII", u"\u00E9", 0}, {"fullwidth one", u"\uFF11", 0},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        CHECK(HexDigitValue(row.text) == row.value);
    }
}

TEST_CASE("every byte round-trips")
{
    for (int byte = 0; byte < 256; ++byte) {
        const std::u16string hex = ByteToHex(byte);
        REQUIRE(hex.size() == 2);
        CHECK(HexDigitValue(hex.substr(0, 1)) * 16 + HexDigitValue(hex.substr(1, 1)) == byte);
    }
}
