#pragma once

#include "protocol/port_catalog.h"

#include <filesystem>
#include <string>
#include <vector>

namespace sg::sim {

using protocol::PortEntry;

// Where simulators register their pseudo-terminals, one symbolic link each.
std::filesystem::path SimulatorPortDir();

// Only a directory of our own that nobody else may write to is believed.
bool IsTrustedDir(const std::filesystem::path &dir);

// The registered simulators, sorted by name; dangling entries are skipped.
std::vector<PortEntry> SimulatorPorts(const std::filesystem::path &dir);

// The COM number the tool gives the simulator registered as label, after hostPorts of
// the host's own; 0 when it is not registered.
int SimulatorComNumber(const std::filesystem::path &dir, const std::string &label,
                       std::size_t hostPorts);

} // namespace sg::sim
