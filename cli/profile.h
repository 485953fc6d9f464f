#pragma once

#include "model/blocks.h"

#include <QString>

#include <optional>

namespace sg::cli {

// A profile file: {"data": "01020304", "params": "00 01 00 40 19 0A 00 04"}, read by the
// same strict rules as --data and --params. Errors name the file and the line.
std::optional<model::Blocks> LoadProfile(const QString &path, QString &error);
bool SaveProfile(const QString &path, const std::string &data, const std::string &params,
                 QString &error);

} // namespace sg::cli
