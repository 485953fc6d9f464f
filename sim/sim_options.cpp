#include "sim/sim_options.h"

#include <algorithm>
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

// Every option once: how the usage shows it and what it sets. A flag has no argument; the
// others take a count.
struct Option
{
    std::string_view name;
    std::string_view argument; // empty for a flag
    std::string_view help;
    void (*setFlag)(SimOptions &) = nullptr;
    void (*setCount)(SimOptions &, std::size_t) = nullptr;
};

const Option OPTIONS[] = {
    {"--silent", "", "never answer a read request",
     [](SimOptions &o) { o.firmware.silent = true; }},
    {"--answer-length", "N", "cut or pad each 11-byte answer to N bytes", nullptr,
     [](SimOptions &o, std::size_t n) { o.firmware.answerLength = n; }},
    {"--split", "", "send each answer in three writes a few ms apart",
     [](SimOptions &o) { o.split = true; }},
    {"--delay-ms", "N", "wait N ms before each answer", nullptr,
     [](SimOptions &o, std::size_t n) { o.delayMs = static_cast<unsigned>(n); }},
    {"--busy-ms", "N", "after a write, ignore every frame for N ms", nullptr,
     [](SimOptions &o, std::size_t n) { o.firmware.busy = std::chrono::milliseconds(n); }},
    {"--no-echo", "", "do not return the request's own bytes",
     [](SimOptions &o) { o.firmware.echo = false; }},
    {"--unplug-after", "N", "close the line after N frames (0: at the first byte)", nullptr,
     [](SimOptions &o, std::size_t n) { o.unplugAfter = n; }},
    {"--line-rate", "", "pace output at 9600 baud (about 1.04 ms per byte)",
     [](SimOptions &o) { o.lineRate = true; }},
    {"--flood-bytes", "N", "send N bytes of garbage after each answer", nullptr,
     [](SimOptions &o, std::size_t n) { o.floodBytes = n; }},
    {"--decode", "", "print what stored parameters mean", [](SimOptions &o) { o.decode = true; }},
    {"--help", "", "show this text", [](SimOptions &o) { o.help = true; }},
};

const Option *FindOption(std::string_view arg)
{
    for (const Option &option : OPTIONS) {
        if (option.name == arg || (arg == "-h" && option.name == "--help"))
            return &option;
    }
    return nullptr;
}

} // namespace

std::string SimUsage()
{
    std::string usage = "usage: sgsim [options]\n"
                        "Simulates the signal generator on a pseudo-terminal that sgsetup lists "
                        "as a COM port.\n"
                        "\n";
    for (const Option &option : OPTIONS) {
        std::string shown = std::string(option.name);
        if (!option.argument.empty())
            shown += " " + std::string(option.argument);
        shown.resize(std::max<std::size_t>(shown.size() + 1, 20), ' ');
        usage += "  " + shown + std::string(option.help) + "\n";
    }
    return usage;
}

std::optional<SimOptions> ParseSimOptions(int argc, const char *const *argv, std::string &error)
{
    SimOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const Option *option = FindOption(arg);
        if (!option) {
            error = "unknown option '" + std::string(arg) + "'";
            return std::nullopt;
        }
        if (option->setFlag) {
            option->setFlag(options);
            continue;
        }
        if (i + 1 >= argc) {
            error = std::string(arg) + " needs a number";
            return std::nullopt;
        }
        const std::optional<std::size_t> value = ParseCount(argv[++i]);
        if (!value) {
            error = std::string(arg) + " needs a number, not '" + argv[i] + "'";
            return std::nullopt;
        }
        option->setCount(options, *value);
    }
    return options;
}

} // namespace sg::sim
