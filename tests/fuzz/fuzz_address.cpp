// Any text as a network address: what parses names its server so that the same address,
// written back from its parts, parses to the same parts.

#include "fuzz_check.h"
#include "remote/remote_address.h"

#include <cstdint>
#include <string>

using namespace sg::remote;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    std::string error;
    const std::optional<RemoteAddress> address = ParseRemoteAddress(text, error);
    FUZZ_CHECK(address.has_value() == error.empty());
    if (!address)
        return 0;
    FUZZ_CHECK(IsRemoteAddress(text) && !address->host.empty() && address->port >= 1);
    const std::string scheme =
        address->kind == RemoteAddress::Kind::Raw ? "socket://" : "rfc2217://";
    const std::optional<RemoteAddress> again =
        ParseRemoteAddress(scheme + address->endpoint(), error);
    FUZZ_CHECK(again && again->kind == address->kind && again->host == address->host &&
               again->port == address->port);
    return 0;
}
