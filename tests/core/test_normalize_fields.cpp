#include "fake_field_view.h"
#include "hex_bytes.h"
#include "model/normalize_fields.h"

#include <doctest/doctest.h>

#include <string>

using sg::model::Blocks;
using sg::model::NormalizeFields;

TEST_CASE("the data box is repaired, never refused")
{
    const struct
    {
        const char *name;
        std::u16string typed;
        std::string block;
        std::string shown;
        std::string length;
    } rows[] = {
        {"initial", u"0000", "0000", "0000", "02"},
        {"odd count pads low digit", u"abc", "ABC0", "ABC0", "02"},
        {"empty", u"", "", "", "00"},
        {"non-hex is zero", u"1G", "10", "10", "01"},
        {"single digit", u"7", "70", "70", "01"},
        {"sixteen digits", u"0123456789abcdef", "0123456789ABCDEF", "0123456789ABCDEF", "08"},
        {"longer text is cut to 8 bytes", u"0123456789ABCDEF77", "0123456789ABCDEF",
         "0123456789ABCDEF", "08"},
        {"non-ASCII is one zero digit", u"\u00E91", "01", "01", "01"},
        {"spaces are zeros", u" 1 2", "0102", "0102", "02"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        FakeFieldView view;
        view.data = row.typed;
        Blocks blocks;
        NormalizeFields(view, blocks);

        CHECK(ToHex(blocks.data) == row.block);
        CHECK(Ascii(view.data) == row.shown);
        CHECK(Ascii(view.params[7]) == row.length);
        CHECK(blocks.params[7] == row.block.size() / 2);
    }
}

TEST_CASE("each parameter box is repaired to two digits")
{
    const struct
    {
        const char *name;
        std::u16string typed;
        int value;
        std::string shown;
    } rows[] = {
        {"single digit is low nibble", u"5", 0x05, "05"},
        {"empty", u"", 0x00, "00"},
        {"not hex", u"zz", 0x00, "00"},
        {"single letter", u"a", 0x0A, "0A"},
        {"lower case pair", u"1f", 0x1F, "1F"},
        {"half hex pair", u"x7", 0x07, "07"},
        {"longer counts first char only", u"f12", 0x0F, "0F"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        for (std::size_t k = 0; k < 7; ++k) {
            CAPTURE(k);
            FakeFieldView view;
            view.params[k] = row.typed;
            Blocks blocks;
            NormalizeFields(view, blocks);
            CHECK(int{blocks.params[k]} == row.value);
            CHECK(Ascii(view.params[k]) == row.shown);
        }
    }
}

TEST_CASE("the length box is always overwritten")
{
    for (const std::u16string lengthBox : {u"FF", u"zz", u""}) {
        CAPTURE(Ascii(lengthBox));
        FakeFieldView view;
        view.data = u"010203";
        view.params[7] = lengthBox;
        Blocks blocks;
        NormalizeFields(view, blocks);
        CHECK(Ascii(view.params[7]) == "03");
        CHECK(int{blocks.params[7]} == 3);
    }
}

TEST_CASE("a second run changes nothing")
{
    FakeFieldView view;
    view.data = u"a";
    view.params = {u"3", u"", u"zz", u"1f", u"G1", u"ff", u"0", u"99"};
    Blocks blocks;
    NormalizeFields(view, blocks);
    const FakeFieldView first = view;
    const Blocks firstBlocks = blocks;
    NormalizeFields(view, blocks);
    CHECK(view.data == first.data);
    CHECK(view.params == first.params);
    CHECK(blocks.data == firstBlocks.data);
    CHECK(blocks.params == firstBlocks.params);
    CHECK(Ascii(view.params[0]) == "03");
    CHECK(Ascii(view.params[4]) == "01");
}
