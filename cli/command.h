#pragma once

#include "cli/port_choice.h"
#include "model/blocks.h"

#include <optional>
#include <string>
#include <vector>

namespace sg::cli {

enum class Verb
{
    Ports,
    Read,
    Store,
    Decode,
    Divisor,
    Help,
    Version,
};

// What a device is given to take a write with --fast before the next frame comes.
inline constexpr int DEFAULT_SETTLE_MS = 100;

// What the command line asks for, checked in full before any device is touched.
struct Command
{
    Verb verb = Verb::Help;
    std::vector<protocol::PortChoice> ports;
    bool json = false;
    bool verify = false;
    bool probe = false;               // ports: ask each port whether a generator answers
    bool trace = false;               // every frame sent and chunk received, timed, on stderr
    bool fast = false;                // each step as soon as the line allows, not at its tick
    int settleMs = DEFAULT_SETTLE_MS; // --fast: after a write's echo, before the next step
    std::string savePath;             // UTF-8
    model::Blocks blocks;             // store: what to write; decode: the parameters
    double baud = 0;
};

// The text of --help.
std::string UsageText();

// arguments (UTF-8) without the program name; on a usage error, error names the bad
// field and what was expected.
std::optional<Command> ParseCommand(const std::vector<std::string> &arguments, std::string &error);

} // namespace sg::cli
