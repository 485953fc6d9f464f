#pragma once

#include "sim/firmware.h"

#include <cstddef>
#include <optional>
#include <string>

namespace sg::sim {

struct SimOptions
{
    FirmwareOptions firmware;
    bool split = false;                     // answer in three writes a few ms apart
    unsigned delayMs = 0;                   // before each answer
    std::optional<std::size_t> unplugAfter; // close the line after this many frames
    bool lineRate = false;                  // pace output at 9600 baud
    std::size_t floodBytes = 0;             // garbage sent after each answer
    bool decode = false;
    bool help = false;
};

// Parses the command line; on a bad option returns nothing and sets error.
std::optional<SimOptions> ParseSimOptions(int argc, const char *const *argv, std::string &error);

std::string SimUsage();

} // namespace sg::sim
