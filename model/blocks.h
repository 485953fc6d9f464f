#pragma once

#include "model/byte_string.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace sg::model {

inline constexpr std::size_t PARAM_COUNT = 8;
inline constexpr std::size_t LENGTH_PARAM_INDEX = 7;
inline constexpr std::size_t MAX_DATA_BYTES = 8;
inline constexpr std::size_t MAX_DATA_DIGITS = 2 * MAX_DATA_BYTES;

// The message the device sends: 0..MAX_DATA_BYTES bytes.
using DataBlock = ByteString;

// How and when the device sends it; the last byte is the message length.
using ParamBlock = std::array<std::uint8_t, PARAM_COUNT>;

struct Blocks
{
    DataBlock data;
    ParamBlock params{};
};

} // namespace sg::model
