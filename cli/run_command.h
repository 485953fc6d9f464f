#pragma once

#include "cli/command.h"
#include "cli/world.h"

namespace sg::cli {

// Carries out a parsed command in world: a catalog taken once for the run, one station
// per device, every device at the same time. Results go to stdout, errors to stderr.
// Returns the exit status.
int RunCommand(const Command &command, World &world);

} // namespace sg::cli
