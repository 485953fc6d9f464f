#include "cli/port_choice.h"

#include "remote/remote_address.h"


namespace sg::cli {

namespace {

// As the window's COM box takes them, bare or as COMn.
std::optional<int> ComNumberOf(std::string_view text)
{
    if (const std::optional<int> bare = protocol::ParsePortNumber(text))
        return bare;
    const std::optional<int> named = protocol::ParseComName(text);
    return named <= protocol::LAST_PORT_NUMBER ? named : std::nullopt;
}

bool IsPortName(std::string_view text)
{
    using protocol::DEVICE_PREFIX;
    return (text.size() > 1 && text.front() == '/') ||
           (text.size() > DEVICE_PREFIX.size() && text.starts_with(DEVICE_PREFIX));
}

} // namespace

std::optional<protocol::PortChoice> ParsePortChoice(std::string_view text, std::string &error)
{
    if (const std::optional<int> com = ComNumberOf(text))
        return protocol::PortChoice{"COM" + std::to_string(*com), com};
    if (IsPortName(text))
        return protocol::PortChoice{std::string(text), std::nullopt};
    if (remote::IsRemoteAddress(text)) {
        if (!remote::ParseRemoteAddress(text, error)) {
            error = "COM: " + error;
            return std::nullopt;
        }
        return protocol::PortChoice{std::string(text), std::nullopt};
    }
    error = "COM: expected a port number from 1 to 99 or a port's device name (see "
            "'sgsetup-cli ports'), got '" +
            std::string(text) + "'";
    return std::nullopt;
}

} // namespace sg::cli
