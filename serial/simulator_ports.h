#pragma once

#include "protocol/port_catalog.h"

#include <filesystem>
#include <vector>

namespace sg::serial {

using protocol::PortEntry;

// Where simulators register their pseudo-terminals, one symbolic link each.
std::filesystem::path SimulatorPortDir();

// Only a directory of our own that nobody else may write to is believed.
bool IsTrustedDir(const std::filesystem::path &dir);

// The registered simulators, sorted by name; dangling entries are skipped.
std::vector<PortEntry> SimulatorPorts(const std::filesystem::path &dir);

} // namespace sg::serial
