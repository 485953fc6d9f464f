// Arbitrary UTF-16 box texts must always normalise into canonical, stable boxes.

#include "fuzz_check.h"
#include "model/hex_codec.h"
#include "model/normalize_fields.h"

#include <array>
#include <cstdint>
#include <string>

namespace {

class Boxes : public sg::model::FieldView
{
public:
    std::array<std::u16string, 9> texts; // DATA, then parameters 0..7

    std::u16string dataText() const override { return texts[0]; }
    void setDataText(const std::u16string &text) override { texts[0] = text; }
    std::u16string paramText(std::size_t i) const override { return texts[i + 1]; }
    void setParamText(std::size_t i, const std::u16string &text) override { texts[i + 1] = text; }
};

bool IsUpperHex(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
}

bool AllUpperHex(const std::u16string &text)
{
    for (const char16_t c : text) {
        if (!IsUpperHex(c))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Code units in input order; U+FFFF separates the nine boxes.
    Boxes boxes;
    std::size_t box = 0;
    for (std::size_t i = 0; i + 1 < size && box < boxes.texts.size(); i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0xFFFF)
            ++box;
        else
            boxes.texts[box] += unit;
    }

    sg::model::Blocks blocks;
    sg::model::NormalizeFields(boxes, blocks);

    const std::u16string &dataText = boxes.texts[0];
    FUZZ_CHECK(dataText.size() % 2 == 0 && dataText.size() <= 16 && AllUpperHex(dataText));
    FUZZ_CHECK(dataText.size() == 2 * blocks.data.size());
    for (std::size_t i = 0; i < blocks.data.size(); ++i)
        FUZZ_CHECK(dataText.substr(2 * i, 2) == sg::model::ByteToHex(blocks.data[i]));
    for (std::size_t k = 0; k < 8; ++k) {
        const std::u16string &param = boxes.texts[k + 1];
        FUZZ_CHECK(param.size() == 2 && AllUpperHex(param));
        FUZZ_CHECK(param == sg::model::ByteToHex(blocks.params[k]));
    }
    FUZZ_CHECK(blocks.params[7] == blocks.data.size());

    const Boxes first = boxes;
    const sg::model::Blocks firstBlocks = blocks;
    sg::model::NormalizeFields(boxes, blocks);
    FUZZ_CHECK(boxes.texts == first.texts);
    FUZZ_CHECK(blocks.data == firstBlocks.data && blocks.params == firstBlocks.params);
    return 0;
}
