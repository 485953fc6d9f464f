#pragma once

#include "cli/command.h"

namespace sg::app {

// The command line's assembly: one catalog for the run, and for each device a job as the
// view and alerts of its own station. Returns the exit status.
int RunCommand(const cli::Command &command);

} // namespace sg::app
