#pragma once

#include "protocol/port.h"

#include <optional>
#include <string>
#include <string_view>

namespace sg::cli {

// A COM number (2, COM2), a device path (/dev/serial/by-id/usb-…, \\.\COM3) or a network
// address (rfc2217://HOST:PORT, socket://HOST:PORT); anything else is a usage error.
std::optional<protocol::PortChoice> ParsePortChoice(std::string_view text, std::string &error);

} // namespace sg::cli
