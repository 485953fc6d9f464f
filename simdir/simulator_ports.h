#pragma once

#include "protocol/port_catalog.h"

#include <filesystem>
#include <string>
#include <vector>

namespace sg::simdir {

using protocol::Port;

// Where simulators register their pseudo-terminals, one symbolic link each.
std::filesystem::path SimulatorPortDir();

// Only a directory of our own that nobody else may write to is believed.
bool IsTrustedDir(const std::filesystem::path &dir);

// The file beside an entry that its simulator holds locked for as long as it runs: the
// system reuses both a pid and a pseudo-terminal's number, but a lock dies with its holder.
std::filesystem::path LockPathOf(const std::filesystem::path &entry);

// Whether the simulator that made the entry still runs.
bool IsLiveEntry(const std::filesystem::path &entry);

// The registered simulators that still run, sorted by name.
std::vector<Port> SimulatorPorts(const std::filesystem::path &dir);

// The COM number the tool gives the simulator registered as label, after hostPorts of
// the host's own; 0 when it is not registered.
int SimulatorComNumber(const std::filesystem::path &dir, const std::string &label,
                       std::size_t hostPorts);

} // namespace sg::simdir
