#pragma once

#include "model/blocks.h"

#include <cstdint>
#include <optional>
#include <string>

namespace sg::model {

// The divisor formula: BRR = 10^7 / (16 x baud) - 1.
inline constexpr double DIVISOR_CLOCK_HZ = 1e7;
// What a UART receiver can follow; beyond it a rate counts as out of reach.
inline constexpr double BAUD_TOLERANCE_PERCENT = 2.0;

double BaudOfDivisor(unsigned divisor);

struct DivisorChoice
{
    std::uint16_t divisor = 0; // the nearest one the two bytes can hold
    double baud = 0;           // the rate it really gives
    double errorPercent = 0;   // against the rate asked for
    bool reachable = false;    // in range and within BAUD_TOLERANCE_PERCENT
};

// The divisor to type for a rate; nothing for a rate that is not positive.
std::optional<DivisorChoice> DivisorFor(double baud);

// "9615", or "9.54" for rates too slow for whole numbers to tell apart.
std::string FormatBaud(double baud);

// The rate the divisor in boxes 2 and 3 gives, or nothing when mode bit 0 leaves the
// rate to the jumper.
std::optional<double> BitRateOf(const ParamBlock &params);

// "9615 baud", or what the jumper chooses between.
std::string DescribeBitRate(const ParamBlock &params);

// One parameter box's value in words; boxes 2 and 3 explain the divisor pair.
std::string ExplainParam(const ParamBlock &params, std::size_t index);

// Every box in words, one paragraph per box and one for the divisor pair.
std::string ExplainParams(const ParamBlock &params);

// The whole block on one line, for a log.
std::string DescribeParams(const ParamBlock &params);

// The message bytes in hex and, where printable, as ASCII.
std::string ExplainData(const DataBlock &data);

} // namespace sg::model
