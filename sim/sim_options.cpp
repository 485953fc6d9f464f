#include "sim/sim_options.h"

#include <charconv>
#include <string_view>

namespace sg::sim {

namespace {

std::optional<std::size_t> ParseCount(std::string_view text)
{
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

} // namespace

std::string SimUsage()
{
    return "usage: sgsim [options]\n"
           "Simulates the signal generator on a pseudo-terminal that sgsetup lists as a COM port.\n"
           "\n"
           "  --silent            never answer a read request\n"
           "  --answer-length N   cut or pad each 11-byte answer to N bytes\n"
           "  --split             send each answer in three writes a few ms apart\n"
           "  --delay-ms N        wait N ms before each answer\n"
           "  --busy-ms N         after a write, ignore every frame for N ms\n"
           "  --no-echo           do not return the request's own bytes\n"
           "  --unplug-after N    close the line after N frames (0: at the first byte)\n"
           "  --line-rate         pace output at 9600 baud (about 1.04 ms per byte)\n"
           "  --flood-bytes N     send N bytes of garbage after each answer\n"
           "  --decode            print what stored parameters mean\n"
           "  --help              show this text\n";
}

std::optional<SimOptions> ParseSimOptions(int argc, const char *const *argv, std::string &error)
{
    SimOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto count = [&]() -> std::optional<std::size_t> {
            if (i + 1 >= argc) {
                error = std::string(arg) + " needs a number";
                return std::nullopt;
            }
            const std::optional<std::size_t> value = ParseCount(argv[++i]);
            if (!value)
                error = std::string(arg) + " needs a number, not '" + argv[i] + "'";
            return value;
        };
        if (arg == "--silent") {
            options.firmware.silent = true;
        } else if (arg == "--no-echo") {
            options.firmware.echo = false;
        } else if (arg == "--split") {
            options.split = true;
        } else if (arg == "--line-rate") {
            options.lineRate = true;
        } else if (arg == "--decode") {
            options.decode = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--answer-length") {
            options.firmware.answerLength = count();
            if (!options.firmware.answerLength)
                return std::nullopt;
        } else if (arg == "--unplug-after") {
            options.unplugAfter = count();
            if (!options.unplugAfter)
                return std::nullopt;
        } else if (arg == "--delay-ms" || arg == "--flood-bytes" || arg == "--busy-ms") {
            const std::optional<std::size_t> value = count();
            if (!value)
                return std::nullopt;
            if (arg == "--delay-ms")
                options.delayMs = static_cast<unsigned>(*value);
            else if (arg == "--busy-ms")
                options.firmware.busy = std::chrono::milliseconds(*value);
            else
                options.floodBytes = *value;
        } else {
            error = "unknown option '" + std::string(arg) + "'";
            return std::nullopt;
        }
    }
    return options;
}

} // namespace sg::sim
