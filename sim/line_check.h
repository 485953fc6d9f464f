#pragma once

#include <optional>
#include <string>
#include <termios.h>

namespace sg::sim {

// What a device that speaks 9600 8N1 hears on a line set this way: nothing when the
// tool set the line right, else how the line is set, e.g. "19200 8E1, XON/XOFF".
std::optional<std::string> LineFault(const termios &line);

} // namespace sg::sim
