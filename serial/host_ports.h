#pragma once

#include "protocol/port_catalog.h"

#include <vector>

namespace sg::serial {

// Host serial ports grouped ttyS*, ttyUSB*, ttyACM*, then the rest, each group in
// natural order (ttyUSB2 before ttyUSB10).
std::vector<protocol::PortEntry> OrderHostPorts(std::vector<protocol::PortEntry> ports);

// The host's ports, then the registered simulators; COMn on Windows.
protocol::PortCatalog ScanHostPorts();

class HostPortLister : public protocol::PortLister
{
public:
    protocol::PortCatalog catalog() const override { return ScanHostPorts(); }
};

} // namespace sg::serial
