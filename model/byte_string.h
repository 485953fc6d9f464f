#pragma once

#include <cstdint>
#include <vector>

namespace sg::model {

// Bytes as they travel to and from the device; 0x00 is an ordinary byte.
using ByteString = std::vector<std::uint8_t>;

} // namespace sg::model
