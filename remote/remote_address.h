#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sg::remote {

// A serial port behind a network serial server, as serial libraries write it:
// rfc2217://HOST:PORT (the client sets the far line) or socket://HOST:PORT (raw TCP).
struct RemoteAddress
{
    enum class Kind
    {
        Rfc2217,
        Raw
    };
    Kind kind = Kind::Raw;
    std::string host; // a name, an IPv4 address or an IPv6 address without its brackets
    std::uint16_t port = 0;

    // HOST:PORT, [IPv6]:PORT: how messages name the server.
    std::string endpoint() const;
};

// True for text that names a network port rather than a device.
bool IsRemoteAddress(std::string_view text);

std::optional<RemoteAddress> ParseRemoteAddress(std::string_view text, std::string &error);

} // namespace sg::remote
