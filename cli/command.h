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

// What the command line asks for, checked in full before any device is touched.
struct Command
{
    Verb verb = Verb::Help;
    std::vector<protocol::PortChoice> ports;
    bool json = false;
    bool verify = false;
    bool probe = false;   // ports: ask each port whether a generator answers
    bool trace = false;   // every frame sent and chunk received, timed, on stderr
    std::string savePath; // UTF-8
    model::Blocks blocks; // store: what to write; decode: the parameters
    double baud = 0;
};

// The text of --help.
std::string UsageText();

// arguments (UTF-8) without the program name; on a usage error, error names the bad
// field and what was expected.
std::optional<Command> ParseCommand(const std::vector<std::string> &arguments, std::string &error);

} // namespace sg::cli
