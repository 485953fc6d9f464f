#include "win32/com_ports.h"

#include "win32/serial_ports.h"
#include "win32/wide_text.h"

namespace sg::win32 {

namespace {

constexpr int HIGHEST_NUMBER = 99; // the COM box takes two digits

} // namespace

protocol::PortCatalog ComPortLister::catalog() const
{
    std::vector<protocol::PortEntry> entries;
    for (int number = 1; number <= HIGHEST_NUMBER; ++number) {
        const std::string name = "COM" + std::to_string(number);
        entries.push_back({name, R"(\\.\)" + name, {}, {}, number, {}});
    }
    return protocol::PortCatalog(std::move(entries));
}

std::wstring ExistingPortsText()
{
    const protocol::PortCatalog ports = ListSerialPorts();
    return ports.entries().empty() ? L"No serial port on this computer" : Widen(ports.text());
}

} // namespace sg::win32
