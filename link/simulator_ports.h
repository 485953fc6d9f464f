#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sg::link {

struct PortEntry
{
    std::string label;       // what the user sees, e.g. ttyUSB0 or sgsim-1234
    std::string device;      // path to open
    std::string description; // may be empty
};

// Where simulators register their pseudo-terminals, one symbolic link each.
std::filesystem::path SimulatorPortDir();

// Only a directory of our own that nobody else may write to is believed.
bool IsTrustedDir(const std::filesystem::path &dir);

// The registered simulators, sorted by name; dangling entries are skipped.
std::vector<PortEntry> SimulatorPorts(const std::filesystem::path &dir);

} // namespace sg::link
