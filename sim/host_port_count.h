#pragma once

#include <cstddef>
#include <filesystem>

namespace sg::sim {

// How many of the host's own serial ports the tool lists before the simulators, found by
// the rule its serial library applies to the tty class: a tty with a parent device, less
// the 8250 slots with no UART behind them, plus the Bluetooth, null-modem and gadget ttys
// that have none.
std::size_t CountHostPorts(const std::filesystem::path &ttyClass = "/sys/class/tty");

} // namespace sg::sim
