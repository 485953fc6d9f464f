#include "model/normalize_fields.h"

#include "model/hex_codec.h"

#include <algorithm>

namespace sg::model {

namespace {

std::uint8_t ByteFromDigits(int high, int low)
{
    return static_cast<std::uint8_t>(high * 16 + low);
}

DataBlock ParseData(std::u16string_view text)
{
    // The DATA box holds at most 16 characters; a longer text (say, set by a program)
    // is cut so that the block can never outgrow the device's 8 bytes.
    const std::u16string_view digits = text.substr(0, std::min(text.size(), MAX_DATA_DIGITS));
    DataBlock data;
    for (std::size_t i = 0; i < digits.size(); i += 2)
        data.push_back(ByteFromDigits(HexDigitAt(digits, i), HexDigitAt(digits, i + 1)));
    return data;
}

std::uint8_t ParseParam(std::u16string_view text)
{
    if (text.size() == 2)
        return ByteFromDigits(HexDigitAt(text, 0), HexDigitAt(text, 1));
    return ByteFromDigits(0, HexDigitAt(text, 0));
}

} // namespace

void NormalizeFields(FieldView &view, Blocks &blocks)
{
    blocks = ReadBlocks(view);

    view.setDataText(BytesToHex(blocks.data));
    for (std::size_t k = 0; k < PARAM_COUNT; ++k)
        view.setParamText(k, ByteToHex(blocks.params[k]));
}

Blocks ReadBlocks(const FieldView &view)
{
    Blocks blocks;
    blocks.data = ParseData(view.dataText());
    for (std::size_t k = 0; k < PARAM_COUNT; ++k)
        blocks.params[k] = ParseParam(view.paramText(k));
    // Box 7 always shows the data length, whatever it holds now.
    blocks.params[LENGTH_PARAM_INDEX] = static_cast<std::uint8_t>(blocks.data.size());
    return blocks;
}

} // namespace sg::model
