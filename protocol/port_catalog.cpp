#include "protocol/port_catalog.h"

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

} // namespace

std::optional<PortEntry> PortCatalog::find(int number) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (numberAt(i) == number)
            return m_entries[i];
    }
    return std::nullopt;
}

std::string PortCatalog::deviceOf(int number) const
{
    if (const std::optional<PortEntry> entry = find(number))
        return entry->device;
    return m_unlistedPrefix.empty() ? "" : m_unlistedPrefix + std::to_string(number);
}

int PortCatalog::numberOf(std::string_view label) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].label == label)
            return numberAt(i);
    }
    return 0;
}

std::string PortCatalog::text() const
{
    std::string text = m_entries.empty() ? "No serial ports found." : "";
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (!text.empty())
            text += '\n';
        text += DescribePort(numberAt(i), m_entries[i]);
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
        text += (i == 0 ? " COM" : ", COM") + std::to_string(present.numberAt(i));
    return text;
}

std::string DescribePort(int number, const PortEntry &port)
{
    // A port no catalog numbers goes by the name it was given.
    std::string line =
        (number > 0 ? "COM" + std::to_string(number) : port.label) + "  " + port.device;
    if (!port.description.empty())
        line += "  " + port.description;
    if (!port.stableName.empty())
        line += "  " + port.stableName;
    return line;
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

ResolvedPort ResolveComText(std::u16string_view text, const PortCatalog &catalog)
{
    const std::optional<int> number = ParseComNumber(text);
    if (!number)
        return {{}, {}, "COM box: '" + Printable(text) + "' is not a port number"};
    const std::string name = "COM" + std::to_string(*number);
    if (std::string device = catalog.deviceOf(*number); !device.empty())
        return {name, std::move(device), {}};
    return {name, {}, MissingPortText(name, catalog)};
}

} // namespace sg::protocol
