#include "protocol/port_resolver.h"

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

std::optional<int> ParseComNumber(std::u16string_view text)
{
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos)
        return std::nullopt;
    const std::u16string_view inner = text.substr(first, text.find_last_not_of(u' ') - first + 1);
    // Only ASCII digits can pass, so another character may stand for them all.
    std::string narrow;
    for (const char16_t c : inner)
        narrow += c < 0x80 ? static_cast<char>(c) : 'x';
    return ParsePortNumber(narrow);
}

Resolved ResolvePort(const PortChoice &choice, const PortCatalog &catalog,
                     const SystemName &systemName)
{
    const std::string missing = MissingPortText(choice.given, catalog);
    if (choice.com) {
        if (std::optional<Port> listed = catalog.find(*choice.com))
            return {.port = *listed, .ifMissing = missing};
        const std::string device = catalog.deviceOf(*choice.com);
        return {.port = {.device = device, .number = *choice.com, .name = choice.given},
                .error = device.empty() ? missing : "",
                .ifMissing = missing};
    }
    const std::string system = systemName ? systemName(choice.given) : choice.given;
    for (const Port &listed : catalog.entries()) {
        if (listed.device == choice.given || (systemName && systemName(listed.device) == system)) {
            Port port = listed;
            port.name = choice.given;
            return {.port = port, .ifMissing = missing};
        }
    }
    return {.port = {.device = choice.given, .name = choice.given}, .ifMissing = missing};
}

std::string LinkFailureText(const Resolved &target, const SerialLink &link)
{
    return link.portMissing() && !target.ifMissing.empty() ? target.ifMissing : link.lastError();
}

Resolved ResolveComText(std::u16string_view text, const PortCatalog &catalog)
{
    const std::optional<int> number = ParseComNumber(text);
    if (!number)
        return {.error = "COM box: '" + Printable(text) + "' is not a port number"};
    return ResolvePort({ComName(*number), number}, catalog);
}

} // namespace sg::protocol
