#include "remote/remote_address.h"

#include "model/hex_codec.h"
#include "model/text.h"

#include <algorithm>

namespace sg::remote {

namespace {

constexpr std::string_view RFC2217_SCHEME = "rfc2217://";
constexpr std::string_view RAW_SCHEME = "socket://";

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool IsHostChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_';
}

bool IsIpv6Char(char c)
{
    return model::HexDigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
}

// 1 to 65535, digits only.
std::optional<std::uint16_t> ParsePortNumber(std::string_view digits)
{
    if (digits.empty() || digits.size() > 5 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const long value = std::stol(std::string(digits));
    if (value < 1 || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

} // namespace

std::string RemoteAddress::endpoint() const
{
    if (host.find(':') == std::string::npos)
        return host + ":" + std::to_string(port);
    // A zone as a URL writes it, so that the endpoint reads back as the same address.
    const std::size_t percent = host.find('%');
    const std::string written = percent == std::string::npos
                                    ? host
                                    : host.substr(0, percent) + "%25" + host.substr(percent + 1);
    return "[" + written + "]:" + std::to_string(port);
}

bool IsRemoteAddress(std::string_view text)
{
    return StartsWith(text, RFC2217_SCHEME) || StartsWith(text, RAW_SCHEME);
}

std::optional<RemoteAddress> ParseRemoteAddress(std::string_view text, std::string &error)
{
    RemoteAddress address;
    std::string_view rest;
    if (StartsWith(text, RFC2217_SCHEME)) {
        address.kind = RemoteAddress::Kind::Rfc2217;
        rest = text.substr(RFC2217_SCHEME.size());
    } else if (StartsWith(text, RAW_SCHEME)) {
        rest = text.substr(RAW_SCHEME.size());
    } else {
        error = model::Quoted(text) + " is not rfc2217://HOST:PORT or socket://HOST:PORT";
        return std::nullopt;
    }
    const auto fail = [&](const std::string &why) {
        error = model::Quoted(text) + ": " + why;
        return std::nullopt;
    };
    std::string_view host;
    std::string_view portText;
    std::string zoned; // the host with its zone, when it has one
    if (!rest.empty() && rest.front() == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
            return fail("expected [IPv6]:PORT");
        host = rest.substr(1, close - 1);
        portText = rest.substr(close + 2);
        // A link-local address names its interface after '%', written %25 in a URL.
        const std::size_t percent = host.find('%');
        const std::string_view literal = host.substr(0, percent);
        if (percent != std::string_view::npos) {
            std::string_view zoneText = host.substr(percent + 1);
            if (zoneText.substr(0, 2) == "25")
                zoneText.remove_prefix(2);
            if (zoneText.empty() || !std::all_of(zoneText.begin(), zoneText.end(), IsHostChar))
                return fail(model::Quoted(host) + " is not an IPv6 address with a zone");
            zoned = std::string(literal) + '%' + std::string(zoneText);
        }
        if (literal.find(':') == std::string_view::npos ||
            !std::all_of(literal.begin(), literal.end(), IsIpv6Char))
            return fail(model::Quoted(host) + " is not an IPv6 address");
    } else {
        const std::size_t colon = rest.rfind(':');
        if (colon == std::string_view::npos)
            return fail("the port number is missing (HOST:PORT)");
        host = rest.substr(0, colon);
        portText = rest.substr(colon + 1);
        if (host.empty() || !std::all_of(host.begin(), host.end(), IsHostChar))
            return fail(model::Quoted(host) + " is not a host name or address");
    }
    const std::optional<std::uint16_t> port = ParsePortNumber(portText);
    if (!port)
        return fail(model::Quoted(portText) + " is not a TCP port from 1 to 65535");
    address.host = zoned.empty() ? std::string(host) : zoned;
    address.port = *port;
    return address;
}

} // namespace sg::remote
