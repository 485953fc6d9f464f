#include "cli/port_choice.h"

#include "remote/remote_address.h"

#include <algorithm>

namespace sg::cli {

namespace {

constexpr std::string_view DEVICE_PREFIX = R"(\\.\)";

bool IsDigits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// 1 to 99, as the window's COM box takes them, bare or as COMn.
std::optional<int> ComNumberOf(std::string_view text)
{
    if (text.size() > 3 && (text.substr(0, 3) == "COM" || text.substr(0, 3) == "com"))
        text.remove_prefix(3);
    if (!IsDigits(text) || text.size() > 2)
        return std::nullopt;
    const int number = std::stoi(std::string(text));
    return number >= 1 ? std::optional(number) : std::nullopt;
}

bool IsPortName(std::string_view text)
{
    return (text.size() > 1 && text.front() == '/') ||
           (text.size() > DEVICE_PREFIX.size() &&
            text.substr(0, DEVICE_PREFIX.size()) == DEVICE_PREFIX);
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
