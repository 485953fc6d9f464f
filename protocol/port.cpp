#include "protocol/port.h"

namespace sg::protocol {

namespace {

// At most most decimal digits, at least one, and their value.
std::optional<int> Digits(std::string_view text, std::size_t most)
{
    if (text.empty() || text.size() > most)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::optional<int> ParsePortNumber(std::string_view text)
{
    const std::optional<int> number = Digits(text, 2);
    return number >= FIRST_PORT_NUMBER ? number : std::nullopt;
}

std::optional<int> ParseComName(std::string_view text)
{
    if (!text.starts_with("COM") && !text.starts_with("com"))
        return std::nullopt;
    const std::optional<int> number = Digits(text.substr(3), 3);
    return number >= 1 ? number : std::nullopt;
}

std::string ComName(int number)
{
    return "COM" + std::to_string(number);
}

std::string DescribePort(const Port &port)
{
    std::string line = port.name + "  " + port.device;
    if (!port.description.empty())
        line += "  " + port.description;
    if (!port.stableName.empty())
        line += "  " + port.stableName;
    return line;
}

} // namespace sg::protocol
