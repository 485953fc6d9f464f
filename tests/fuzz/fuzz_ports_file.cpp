// Any bytes as a ports file: every line is a port or a problem, never both, never more
// lines than the file has, and every port kept has a number from 1 to 99 and an address.

#include "fuzz_check.h"
#include "remote/ports_file.h"
#include "remote/remote_address.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

using namespace sg::remote;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const PortsFile file = ParsePortsFile(text, "ports");
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    FUZZ_CHECK(file.ports.size() + file.problems.size() <= lines);
    for (const PortsFile::Line &line : file.ports) {
        std::string error;
        FUZZ_CHECK(line.port.number >= 1 && line.port.number <= 99);
        FUZZ_CHECK(ParseRemoteAddress(line.port.device, error).has_value());
    }
    return 0;
}
