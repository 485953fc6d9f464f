#include "cli/port_choice.h"

#include "cli/world.h"
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

std::optional<PortChoice> ParsePortChoice(std::string_view text, std::string &error)
{
    if (const std::optional<int> com = ComNumberOf(text))
        return PortChoice{"COM" + std::to_string(*com), com};
    if (IsPortName(text))
        return PortChoice{std::string(text), std::nullopt};
    if (remote::IsRemoteAddress(text)) {
        if (!remote::ParseRemoteAddress(text, error)) {
            error = "COM: " + error;
            return std::nullopt;
        }
        return PortChoice{std::string(text), std::nullopt};
    }
    error = "COM: expected a port number from 1 to 99 or a port's device name (see "
            "'sgsetup-cli ports'), got '" +
            std::string(text) + "'";
    return std::nullopt;
}

PortTarget ResolvePort(const PortChoice &choice, const protocol::PortCatalog &catalog,
                       const World &world)
{
    PortTarget target{choice.com, choice.given, {}};
    if (choice.com) {
        target.device = catalog.deviceOf(*choice.com);
        return target;
    }
    // An address names no file to resolve.
    const bool remote = remote::IsRemoteAddress(choice.given);
    const std::string system = remote ? choice.given : world.resolvePortName(choice.given);
    for (std::size_t i = 0; i < catalog.entries().size(); ++i) {
        const std::string &device = catalog.entries()[i].device;
        if (device == choice.given || (!remote && world.resolvePortName(device) == system)) {
            target.com = catalog.numberAt(i);
            target.device = device;
            return target;
        }
    }
    target.device = choice.given;
    return target;
}

} // namespace sg::cli
