#pragma once

#include "protocol/port_catalog.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace sg::win32 {

// The serial ports Windows knows now, in COM order, each under its own number: what the
// serial drivers registered under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, with Device
// Manager's friendly name ("USB Serial Port (COM3)") as the description where it has one.
protocol::PortCatalog ListSerialPorts();

// Where the user numbers ports behind network serial servers: %APPDATA%\sgsetup\ports.txt.
std::filesystem::path UserPortsFile();

// What Device Manager knows of a port besides its name.
struct DeviceNames
{
    std::wstring friendly;
    bool bluetooth = false; // enumerated by the Bluetooth stack, which opens ports slowly
};

// The ports of the names the drivers listed, in any order: each under its own COM number,
// once; names that are no COMn are left out.
protocol::PortCatalog PortsOfComNames(const std::vector<std::wstring> &names,
                                      const std::map<std::wstring, DeviceNames> &devices);

// The same list, asked again at every start of a transfer.
class SerialPortLister : public protocol::PortLister
{
public:
    protocol::PortCatalog catalog() const override { return ListSerialPorts(); }
};

} // namespace sg::win32
