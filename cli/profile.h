#pragma once

#include "model/blocks.h"

#include <optional>
#include <string>

namespace sg::cli {

// A profile file: {"data": "01020304", "params": "00 01 00 40 19 0A 00 04"}, read by the
// same strict rules as --data and --params. Paths are UTF-8; errors name the file and
// the line.
std::optional<model::Blocks> LoadProfile(const std::string &path, std::string &error);
// Written whole or not at all: a half-written profile never replaces a good one.
bool SaveProfile(const std::string &path, const std::string &data, const std::string &params,
                 std::string &error);

} // namespace sg::cli
