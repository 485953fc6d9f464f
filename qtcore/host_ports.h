#pragma once

#include "protocol/port_catalog.h"

#include <filesystem>
#include <vector>

namespace sg::qtcore {

// Host serial ports grouped ttyS*, ttyUSB*, ttyACM*, then the rest, each group in
// natural order (ttyUSB2 before ttyUSB10).
std::vector<protocol::Port> OrderHostPorts(std::vector<protocol::Port> ports);

// The host's ports, then the registered simulators, numbered from COM1.
protocol::PortCatalog ScanHostPorts();

// Where the user numbers ports behind network serial servers:
// $XDG_CONFIG_HOME/sgsetup/ports, by default ~/.config/sgsetup/ports.
std::filesystem::path UserPortsFile();

class HostPortLister : public protocol::PortLister
{
public:
    protocol::PortCatalog catalog() const override { return ScanHostPorts(); }
};

} // namespace sg::qtcore
