#pragma once

#include "link/simulator_ports.h"

#include <optional>
#include <string>
#include <vector>

namespace sg::link {

// Host serial ports grouped ttyS*, ttyUSB*, ttyACM*, then the rest, each group in
// natural order (ttyUSB2 before ttyUSB10).
std::vector<PortEntry> OrderHostPorts(std::vector<PortEntry> ports);

// COM1 is the first entry: the host's ports, then the registered simulators.
std::vector<PortEntry> BuildPortCatalog();

// The device that COM number reaches, if any.
std::optional<PortEntry> ResolvePort(int number);

// One "COMn  /dev/...  description" line per port, for the COM box's tooltip.
std::string CatalogText(const std::vector<PortEntry> &catalog);

} // namespace sg::link
