#include "cli/command.h"

#include "cli/profile.h"
#include "model/strict_hex.h"
#include "transfer/ticker.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace sg::cli {

namespace {

constexpr std::string_view EXPECTED_VERBS = "ports, read, store, decode or divisor";

std::optional<Command> Fail(std::string &error, std::string message)
{
    error = std::move(message);
    return std::nullopt;
}

std::string Join(const std::vector<std::string> &words)
{
    std::string joined;
    for (const std::string &word : words)
        joined += (joined.empty() ? "" : " ") + word;
    return joined;
}

// The options one verb takes, and what the line gave for each.
struct Options
{
    bool help = false;
    bool json = false;
    bool probe = false;
    bool verify = false;
    bool trace = false;
    bool fast = false;
    std::vector<std::string> positional;
    std::optional<std::string> settle;
    std::optional<std::string> save;
    std::optional<std::string> data;
    std::optional<std::string> params;
    std::optional<std::string> from;
};

void Declare(Verb verb, CLI::App &parser, Options &options)
{
    parser.set_help_flag();
    // A device name such as /dev/ttyUSB0 is an argument on every platform, never a /option.
    parser.allow_windows_style_options(false);
    parser.add_flag("-h,--help", options.help);
    parser.add_option("arguments", options.positional);
    if (verb != Verb::Decode && verb != Verb::Divisor)
        parser.add_flag("--json", options.json);
    if (verb == Verb::Ports)
        parser.add_flag("--probe", options.probe);
    if (verb == Verb::Ports || verb == Verb::Read || verb == Verb::Store) {
        parser.add_flag("--trace", options.trace);
        parser.add_flag("--fast", options.fast);
    }
    if (verb == Verb::Read)
        parser.add_option("--save", options.save);
    if (verb == Verb::Store) {
        parser.add_option("--data", options.data);
        parser.add_option("--params", options.params);
        parser.add_option("--from", options.from);
        parser.add_flag("--verify", options.verify);
        parser.add_option("--settle", options.settle);
    }
}

// 0 to one period, in whole milliseconds: a longer settle is the default pacing.
std::optional<int> ParseSettle(const std::string &text)
{
    int ms = -1;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), ms);
    if (problem != std::errc() || end != text.data() + text.size() || ms < 0 ||
        ms > transfer::TICK_MS)
        return std::nullopt;
    return ms;
}

std::optional<std::vector<protocol::PortChoice>> ParsePorts(const std::vector<std::string> &given,
                                                            std::string &error)
{
    std::vector<protocol::PortChoice> ports;
    for (const std::string &text : given) {
        std::optional<protocol::PortChoice> port = ParsePortChoice(text, error);
        if (!port)
            return std::nullopt;
        const bool twice =
            std::any_of(ports.begin(), ports.end(),
                        [&](const protocol::PortChoice &p) { return p.given == port->given; });
        if (twice) {
            error = "COM: " + text + " is given twice";
            return std::nullopt;
        }
        ports.push_back(std::move(*port));
    }
    if (ports.empty())
        error = "COM: expected at least one port number";
    return ports.empty() ? std::nullopt : std::optional(ports);
}

std::optional<model::Blocks> BlocksFromOptions(const Options &options, std::string &error)
{
    if (options.from) {
        if (options.data || options.params) {
            error = "--from: give either a profile or --data and --params, not both";
            return std::nullopt;
        }
        return LoadProfile(*options.from, error);
    }
    if (!options.data || !options.params) {
        error = "store: expected --data HEX and --params HEX, or --from FILE";
        return std::nullopt;
    }
    std::string reason;
    const std::optional<model::DataBlock> data = model::ParseStrictData(*options.data, reason);
    if (!data) {
        error = "--data: " + reason;
        return std::nullopt;
    }
    const std::optional<model::ByteString> given =
        model::ParseStrictParamBytes(*options.params, reason);
    const std::optional<model::ParamBlock> params =
        given ? model::CompleteParams(*given, data->size(), reason) : std::nullopt;
    if (!params) {
        error = "--params: " + reason;
        return std::nullopt;
    }
    return model::Blocks{*data, *params};
}

std::optional<double> ParseBaud(const std::vector<std::string> &given)
{
    if (given.size() != 1)
        return std::nullopt;
    const std::string &text = given.front();
    double baud = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), baud);
    if (problem != std::errc() || end != text.data() + text.size() || !std::isfinite(baud) ||
        !(baud > 0))
        return std::nullopt;
    return baud;
}

// The ports, all of the positional arguments.
bool TakePorts(const Options &options, Command &command, std::string &error)
{
    std::optional<std::vector<protocol::PortChoice>> ports = ParsePorts(options.positional, error);
    if (ports)
        command.ports = std::move(*ports);
    return ports.has_value();
}

// One per verb, each given the command with what every verb shares already set.
std::optional<Command> InterpretPorts(Command command, const Options &options, std::string &error)
{
    // Only a probe takes ports: the ones named, even those a probe of all passes by.
    if (!options.probe && !options.positional.empty())
        return Fail(error, "ports: takes no arguments, got '" + options.positional.front() + "'");
    command.probe = options.probe;
    if ((options.trace || options.fast) && !options.probe)
        return Fail(error, std::string(options.trace ? "--trace" : "--fast") +
                               ": goes with --probe; a list sends nothing");
    if (!options.positional.empty() && !TakePorts(options, command, error))
        return std::nullopt;
    return command;
}

std::optional<Command> InterpretRead(Command command, const Options &options, std::string &error)
{
    if (!TakePorts(options, command, error))
        return std::nullopt;
    command.savePath = options.save.value_or("");
    if (options.save && command.ports.size() != 1)
        return Fail(error, "--save: takes exactly one COM number");
    return command;
}

std::optional<Command> InterpretStore(Command command, const Options &options, std::string &error)
{
    if (!TakePorts(options, command, error))
        return std::nullopt;
    command.verify = options.verify || options.fast; // a fast store proves itself
    const std::optional<model::Blocks> blocks = BlocksFromOptions(options, error);
    if (!blocks)
        return std::nullopt;
    command.blocks = *blocks;
    return command;
}

std::optional<Command> InterpretDecode(Command command, const Options &options, std::string &error)
{
    std::string reason;
    const std::string text = Join(options.positional);
    const std::optional<model::ByteString> bytes = model::ParseStrictParamBytes(text, reason);
    if (!bytes || bytes->size() != model::PARAM_COUNT)
        return Fail(error,
                    "PARAMS: expected 8 two-digit hex bytes, spaces optional, got '" + text + "'");
    std::copy(bytes->begin(), bytes->end(), command.blocks.params.begin());
    return command;
}

std::optional<Command> InterpretDivisor(Command command, const Options &options, std::string &error)
{
    const std::optional<double> baud = ParseBaud(options.positional);
    if (!baud)
        return Fail(error, "BAUD: expected one bit rate above 0, e.g. 9600, got '" +
                               Join(options.positional) + "'");
    command.baud = *baud;
    return command;
}

// --settle, which only a fast transfer has.
bool InterpretSettle(const Options &options, Command &command, std::string &error)
{
    if (!options.settle)
        return true;
    if (!options.fast) {
        error = "--settle: goes with --fast";
    } else if (const std::optional<int> settle = ParseSettle(*options.settle)) {
        command.settleMs = *settle;
        return true;
    } else {
        error = "--settle: expected milliseconds from 0 to 1500, got '" + *options.settle + "'";
    }
    return false;
}

std::optional<Command> Interpret(Verb verb, const Options &options, std::string &error)
{
    Command command;
    command.verb = options.help ? Verb::Help : verb;
    if (command.verb == Verb::Help)
        return command;
    command.json = options.json;
    command.trace = options.trace;
    command.fast = options.fast;
    if (!InterpretSettle(options, command, error))
        return std::nullopt;
    switch (verb) {
    case Verb::Ports:
        return InterpretPorts(std::move(command), options, error);
    case Verb::Read:
        return InterpretRead(std::move(command), options, error);
    case Verb::Store:
        return InterpretStore(std::move(command), options, error);
    case Verb::Decode:
        return InterpretDecode(std::move(command), options, error);
    case Verb::Divisor:
        return InterpretDivisor(std::move(command), options, error);
    case Verb::Help:
    case Verb::Version:
        break;
    }
    return command;
}

std::optional<Command> ParseVerb(Verb verb, const std::vector<std::string> &arguments,
                                 std::string &error)
{
    CLI::App parser("", "sgsetup-cli " + arguments.front());
    Options options;
    Declare(verb, parser, options);
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend() - 1);
    try {
        parser.parse(reversed);
    } catch (const CLI::ParseError &problem) {
        return Fail(error, arguments.front() + ": " + problem.what());
    }
    return Interpret(verb, options, error);
}

} // namespace

std::string UsageText()
{
    return "usage: sgsetup-cli COMMAND [options]\n"
           "\n"
           "Reads and stores the message and parameters of serial signal generators, many at\n"
           "once. COM numbers are the ones the sgsetup window takes; 'ports' lists them. A\n"
           "port may also be given by its device name (/dev/serial/by-id/..., \\\\.\\COM3), or,\n"
           "behind a network serial server, as rfc2217://HOST:PORT or socket://HOST:PORT.\n"
           "\n"
           "  ports [--probe [COM...] [--fast]] [--json] [--trace]\n"
           "                            the COM numbers: number, device, description;\n"
           "                            --probe asks them all (or those named) whether a\n"
           "                            generator answers\n"
           "  read COM... [--fast] [--json] [--save FILE] [--trace]\n"
           "                            read both blocks from each device\n"
           "  store COM... (--data HEX --params HEX | --from FILE) [--verify]\n"
           "        [--fast [--settle MS]] [--json] [--trace]\n"
           "                            write both blocks into each device\n"
           "  decode PARAMS             explain 8 parameter bytes in words\n"
           "  divisor BAUD              the two divisor bytes to type for a bit rate\n"
           "  --help | --version\n"
           "\n"
           "Input is strict: --data takes 0 to 16 hex digits (an even count), --params 7 or 8\n"
           "two-digit hex bytes (spaces optional); byte 7 is the data length and, when given,\n"
           "must match it. A profile (--save, --from) is {\"data\": \"...\", \"params\": "
           "\"...\"}.\n"
           "Every device runs at the same time, 3 seconds per read or store. --trace prints\n"
           "each frame sent and each chunk received, with its time and port, on stderr.\n"
           "--fast takes each step as soon as its reply is complete and the line quiet, or,\n"
           "for a write, its echo back and --settle MS (default 100) passed; a fast store\n"
           "always reads back.\n"
           "\n"
           "Exit status: 0 every device succeeded; 1 some device did not answer; 2 some port\n"
           "could not be used (2 wins over 1); 3 a verify mismatch; 64 a usage error, and then\n"
           "nothing was sent; 130 interrupted (Ctrl+C), every port closed. 'divisor' exits 1\n"
           "when the rate cannot be reached, 'ports --probe' when no generator answered.\n";
}

std::optional<Command> ParseCommand(const std::vector<std::string> &arguments, std::string &error)
{
    static const std::pair<std::string_view, Verb> verbs[]{
        {"ports", Verb::Ports},   {"read", Verb::Read},        {"store", Verb::Store},
        {"decode", Verb::Decode}, {"divisor", Verb::Divisor},  {"--help", Verb::Help},
        {"-h", Verb::Help},       {"--version", Verb::Version}};
    if (arguments.empty())
        return Fail(error, "expected a command: " + std::string(EXPECTED_VERBS));
    for (const auto &[name, verb] : verbs) {
        if (arguments.front() != name)
            continue;
        if (verb == Verb::Help || verb == Verb::Version) {
            Command command;
            command.verb = verb;
            return command;
        }
        return ParseVerb(verb, arguments, error);
    }
    return Fail(error, "unknown command '" + arguments.front() + "'; expected " +
                           std::string(EXPECTED_VERBS));
}

} // namespace sg::cli
