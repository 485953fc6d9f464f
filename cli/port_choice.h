#pragma once

#include "protocol/port_catalog.h"

#include <optional>
#include <string>
#include <string_view>

namespace sg::cli {

class World;

// A port as the user gave it: a COM number (2, COM2) or the port's own name, a device
// path such as /dev/serial/by-id/usb-… or \\.\COM3.
struct PortChoice
{
    std::string given;
    std::optional<int> com;
};

// What a choice reaches now.
struct PortTarget
{
    std::optional<int> com; // where the catalog knows the port
    std::string name;       // how reports name it: COMn for a number, else the name given
    std::string device;     // what to open; empty when the number is not in the catalog
};

std::optional<PortChoice> ParsePortChoice(std::string_view text, std::string &error);

PortTarget ResolvePort(const PortChoice &choice, const protocol::PortCatalog &catalog,
                       const World &world);

} // namespace sg::cli
