#pragma once

#include "model/blocks.h"

#include <QString>
#include <QStringList>

#include <optional>
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
    std::vector<int> coms;
    bool json = false;
    bool verify = false;
    bool probe = false; // ports: ask each port whether a generator answers
    QString savePath;
    model::Blocks blocks; // store: what to write; decode: the parameters
    double baud = 0;
};

// The text of --help.
QString UsageText();

// arguments without the program name; on a usage error, error names the bad field
// and what was expected.
std::optional<Command> ParseCommand(const QStringList &arguments, QString &error);

} // namespace sg::cli
