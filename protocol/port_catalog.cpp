#include "protocol/port_catalog.h"

#include <cctype>
#include <string_view>
#include <tuple>

namespace sg::protocol {

namespace {

// The text as it can be shown in a detail line.
std::string Printable(std::u16string_view text)
{
    std::string out;
    for (const char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::string ComName(int number)
{
    return "COM" + std::to_string(number);
}

} // namespace

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

std::string DescribePort(const Port &port)
{
    std::string line = port.name + "  " + port.device;
    if (!port.description.empty())
        line += "  " + port.description;
    if (!port.stableName.empty())
        line += "  " + port.stableName;
    return line;
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

std::optional<int> ParseComNumber(std::u16string_view text)
{
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos)
        return std::nullopt;
    const std::size_t last = text.find_last_not_of(u' ');
    const std::u16string_view digits = text.substr(first, last - first + 1);
    if (digits.size() > 2)
        return std::nullopt;
    int value = 0;
    for (const char16_t c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return value;
}

Port ResolvePort(const PortChoice &choice, const PortCatalog &catalog, const SystemName &systemName)
{
    if (choice.com) {
        if (std::optional<Port> listed = catalog.find(*choice.com))
            return *listed;
        const std::string name = ComName(*choice.com);
        const std::string device = catalog.deviceOf(*choice.com);
        return {.device = device,
                .number = *choice.com,
                .name = name,
                .error = device.empty() ? MissingPortText(name, catalog) : ""};
    }
    const std::string system = systemName ? systemName(choice.given) : choice.given;
    for (const Port &listed : catalog.entries()) {
        if (listed.device == choice.given || (systemName && systemName(listed.device) == system)) {
            Port port = listed;
            port.name = choice.given;
            return port;
        }
    }
    return {.device = choice.given, .name = choice.given};
}

Port ResolveComText(std::u16string_view text, const PortCatalog &catalog)
{
    const std::optional<int> number = ParseComNumber(text);
    if (!number)
        return {.error = "COM box: '" + Printable(text) + "' is not a port number"};
    return ResolvePort({ComName(*number), number}, catalog);
}

} // namespace sg::protocol
