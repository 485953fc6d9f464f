#include "model/param_decoder.h"

#include "model/hex_codec.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sg::model {

namespace {

constexpr unsigned MAX_DIVISOR = 0xFFFF;

std::string Hex(std::uint8_t byte)
{
    return HexText(std::span(&byte, 1));
}

std::string Delay(unsigned steps, double unitMs, const char *unit)
{
    if (steps == 0)
        return "none";
    char text[64];
    std::snprintf(text, sizeof text, "%u x %s = %.1f ms", steps, unit, steps * unitMs);
    return text;
}

bool Bit(unsigned mode, unsigned bit)
{
    return (mode >> bit) & 1u;
}

unsigned DivisorOf(const ParamBlock &p)
{
    return p[2] * 256u + p[3];
}

std::string ModeBits(unsigned mode)
{
    const auto line = [mode](unsigned bit, const char *off, const char *on) {
        return "\n  bit " + std::to_string(bit) + " = " + (Bit(mode, bit) ? "1: " : "0: ") +
               (Bit(mode, bit) ? on : off);
    };
    return line(0, "fixed rate by jumper (open 8192, closed 16384 baud), 1 start bit, 1 stop bit",
                "bit rate from the divisor in bytes 2 and 3") +
           line(1, "output not inverted (1 = LOW, 0 = HIGH, idle HIGH)",
                "output inverted (1 = HIGH, 0 = LOW, idle LOW)") +
           line(2, "no odd parity", "odd parity") + line(3, "no even parity", "even parity") +
           line(4, "one stop bit", "two stop bits") +
           line(5, "start and stop bits used", "no start and no stop bits") +
           "\n  bits 6, 7 = " + std::to_string(Bit(mode, 6)) + ", " + std::to_string(Bit(mode, 7)) +
           ": not described";
}

std::string Parity(unsigned mode)
{
    if (Bit(mode, 2) && Bit(mode, 3))
        return "odd and even both set";
    return Bit(mode, 2) ? "odd" : Bit(mode, 3) ? "even" : "none";
}

} // namespace

double BaudOfDivisor(unsigned divisor)
{
    return DIVISOR_CLOCK_HZ / (16.0 * (divisor + 1.0));
}

std::optional<double> BitRateOf(const ParamBlock &params)
{
    if (!Bit(params[1], 0))
        return std::nullopt;
    return BaudOfDivisor(DivisorOf(params));
}

std::string DescribeBitRate(const ParamBlock &params)
{
    const std::optional<double> baud = BitRateOf(params);
    return baud ? FormatBaud(*baud) + " baud"
                : "8192 baud (jumper open) or 16384 baud (jumper closed)";
}

std::optional<DivisorChoice> DivisorFor(double baud)
{
    if (!(baud > 0))
        return std::nullopt;
    const double exact = DIVISOR_CLOCK_HZ / (16.0 * baud) - 1.0;
    const double nearest = std::round(std::clamp(exact, 0.0, double(MAX_DIVISOR)));
    DivisorChoice choice;
    choice.divisor = static_cast<std::uint16_t>(nearest);
    choice.baud = BaudOfDivisor(choice.divisor);
    choice.errorPercent = (choice.baud - baud) / baud * 100.0;
    choice.reachable = std::fabs(choice.errorPercent) <= BAUD_TOLERANCE_PERCENT;
    return choice;
}

std::string FormatBaud(double baud)
{
    char text[32];
    std::snprintf(text, sizeof text, baud >= 100 ? "%.0f" : "%.2f", baud);
    return text;
}

std::string ExplainParam(const ParamBlock &p, std::size_t index)
{
    switch (index) {
    case 0:
        return "Startup delay " + Hex(p[0]) + ": " + Delay(p[0], 4.0, "4 ms");
    case 1:
        return "Mode " + Hex(p[1]) + ":" + ModeBits(p[1]);
    case 2:
    case 3: {
        const std::string pair = "Baud rate " + Hex(p[2]) + " " + Hex(p[3]) + ": divisor " +
                                 std::to_string(DivisorOf(p)) + ", ";
        if (!Bit(p[1], 0))
            return pair + "not used while mode bit 0 is 0 (the jumper sets the rate)";
        return pair + "10^7 / (16 x " + std::to_string(DivisorOf(p) + 1) +
               ") = " + DescribeBitRate(p);
    }
    case 4:
        return "Message delay " + Hex(p[4]) + ": " + Delay(p[4], 4.0, "4 ms");
    case 5:
        return "Byte delay " + Hex(p[5]) + ": " + Delay(p[5], 0.1, "0.1 ms");
    case 6:
        return "Repeat count " + Hex(p[6]) + ": " +
               (p[6] == 0 ? std::string("without end") : std::to_string(p[6]) + " times");
    default:
        return "Length " + Hex(p[7]) + ": " + std::to_string(p[7]) + " message bytes";
    }
}

std::string ExplainParams(const ParamBlock &params)
{
    std::string text;
    for (const std::size_t index : {0u, 1u, 2u, 4u, 5u, 6u, 7u})
        text += ExplainParam(params, index) + "\n";
    return text;
}

std::string DescribeParams(const ParamBlock &p)
{
    const unsigned mode = p[1];
    const std::string framing = !Bit(mode, 0)  ? "1 start, 1 stop bit"
                                : Bit(mode, 5) ? "no start/stop bits"
                                : Bit(mode, 4) ? "1 start, 2 stop bits"
                                               : "1 start, 1 stop bit";
    const bool jumper = !Bit(mode, 0);
    return "rate " + DescribeBitRate(p) + "; parity " + (jumper ? "none" : Parity(mode)) + "; " +
           framing + "; output " + (!jumper && Bit(mode, 1) ? "inverted" : "not inverted") +
           "; startup delay " + Delay(p[0], 4.0, "4 ms") + "; message delay " +
           Delay(p[4], 4.0, "4 ms") + "; byte delay " + Delay(p[5], 0.1, "0.1 ms") + "; repeat " +
           (p[6] == 0 ? std::string("forever") : std::to_string(p[6]) + " times") + "; length " +
           std::to_string(p[7]);
}

std::string ExplainData(const DataBlock &data)
{
    if (data.empty())
        return "No message bytes";
    std::string ascii;
    for (const std::uint8_t byte : data) {
        ascii += byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '.';
    }
    return std::to_string(data.size()) + (data.size() == 1 ? " byte: " : " bytes: ") +
           HexText(data, " ") + "\nASCII: " + ascii;
}

} // namespace sg::model
