#pragma once

#include "protocol/port_catalog.h"

namespace sg::win32 {

// The serial ports Windows knows now, in COM order, each under its own number: what the
// serial drivers registered under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, with Device
// Manager's friendly name ("USB Serial Port (COM3)") as the description where it has one.
protocol::PortCatalog ListSerialPorts();

// The same list, asked again at every start of a transfer.
class SerialPortLister : public protocol::PortLister
{
public:
    protocol::PortCatalog catalog() const override { return ListSerialPorts(); }
};

} // namespace sg::win32
