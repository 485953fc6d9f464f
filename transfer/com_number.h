#pragma once

#include <optional>
#include <string_view>

namespace sg::transfer {

// One or two decimal digits, optionally surrounded by spaces; anything else is no number.
std::optional<int> ParseComNumber(std::u16string_view text);

} // namespace sg::transfer
