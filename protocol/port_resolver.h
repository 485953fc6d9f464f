#pragma once

#include "protocol/port.h"
#include "protocol/port_catalog.h"
#include "protocol/serial_link.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace sg::protocol {

// What a choice reaches: a port to open, or the reason there is none.
struct Resolved
{
    Port port{};             // without a device when there is nothing to open, still named
    std::string error{};     // why there is nothing to open; empty when there is
    std::string ifMissing{}; // what to say if the system has no such port after all
};

// The COM box's text: a port number, spaces around; anything else is no number.
std::optional<int> ParseComNumber(std::u16string_view text);

// The system's own name for a port's name, e.g. a by-id link's target.
using SystemName = std::function<std::string(const std::string &name)>;

// What a choice reaches among the ports there are now: a listed port as listed, a number
// by the system's numbering, any other name as given. systemName finds a listed port under
// another name for it.
Resolved ResolvePort(const PortChoice &choice, const PortCatalog &catalog,
                     const SystemName &systemName = {});

// The COM box's number, resolved.
Resolved ResolveComText(std::u16string_view text, const PortCatalog &catalog);

// Why link failed target: the ports there are when the port was missing, else the link's
// own words.
std::string LinkFailureText(const Resolved &target, const SerialLink &link);

} // namespace sg::protocol
