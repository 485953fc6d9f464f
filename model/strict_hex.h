#pragma once

#include "model/blocks.h"

#include <optional>
#include <string>
#include <string_view>

namespace sg::model {

// Hex for scripts: where the window repairs a typo, these refuse it and say what they
// expected in error.

// 0 to 16 hex digits of either case, an even count, nothing else.
std::optional<DataBlock> ParseStrictData(std::string_view text, std::string &error);

// 7 or 8 two-digit hex bytes; spaces may separate them.
std::optional<ByteString> ParseStrictParamBytes(std::string_view text, std::string &error);

// The block for a message of dataLength bytes: a missing byte 7 is the length, a given
// one must equal it.
std::optional<ParamBlock> CompleteParams(const ByteString &bytes, std::size_t dataLength,
                                         std::string &error);

} // namespace sg::model
