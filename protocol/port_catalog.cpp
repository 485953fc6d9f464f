#include "protocol/port_catalog.h"

#include <cctype>
#include <string_view>
#include <tuple>

namespace sg::protocol {

PortCatalog::PortCatalog(std::vector<Port> entries, std::string unlistedPrefix)
    : m_entries(std::move(entries)), m_unlistedPrefix(std::move(unlistedPrefix))
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        Port &port = m_entries[i];
        port.number = port.number > 0 ? port.number : static_cast<int>(i) + 1;
        port.name = ComName(port.number);
    }
}

std::optional<Port> PortCatalog::find(int number) const
{
    for (const Port &port : m_entries) {
        if (port.number == number)
            return port;
    }
    return std::nullopt;
}

std::string PortCatalog::deviceOf(int number) const
{
    if (const std::optional<Port> entry = find(number))
        return entry->device;
    return m_unlistedPrefix.empty() ? "" : m_unlistedPrefix + std::to_string(number);
}

int PortCatalog::numberOf(std::string_view label) const
{
    for (const Port &port : m_entries) {
        if (port.label == label)
            return port.number;
    }
    return 0;
}

std::string PortCatalog::text() const
{
    std::string text = m_entries.empty() ? "No serial ports found." : "";
    for (const Port &port : m_entries) {
        if (!text.empty())
            text += '\n';
        text += DescribePort(port);
    }
    for (const std::string &note : m_notes)
        text += '\n' + note;
    return text;
}

std::string MissingPortText(std::string_view name, const PortCatalog &present)
{
    std::string text = std::string(name) + ": no such port on this computer; ";
    if (present.entries().empty())
        return text + "no serial ports found";
    text += "ports here:";
    for (std::size_t i = 0; i < present.entries().size(); ++i)
        text += (i == 0 ? " " : ", ") + present.entries()[i].name;
    return text;
}

bool NaturalLess(std::string_view a, std::string_view b)
{
    // Compared as digits, not converted, so that no number is too long to order.
    const auto key = [](std::string_view label) {
        std::size_t end = label.size();
        while (end > 0 && std::isdigit(static_cast<unsigned char>(label[end - 1])))
            --end;
        std::size_t significant = end;
        while (significant < label.size() && label[significant] == '0')
            ++significant;
        const std::string_view number = label.substr(significant);
        return std::tuple(label.substr(0, end), number.size(), number, label);
    };
    return key(a) < key(b);
}

} // namespace sg::protocol
