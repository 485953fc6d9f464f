#include "sim/param_decoder.h"

#include <cstdio>

namespace sg::sim {

namespace {

std::string Delay(unsigned steps, double unitMs)
{
    if (steps == 0)
        return "none";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", steps * unitMs);
    return text;
}

} // namespace

std::string DescribeParams(const model::ParamBlock &p)
{
    const unsigned mode = p[1];
    std::string rate = "jumper: 8192 baud open, 16384 baud closed";
    if (mode & 0x01u) {
        const unsigned brr = p[2] * 256u + p[3];
        char text[48];
        std::snprintf(text, sizeof text, "%.0f baud (BRR %u)", 1e7 / (16.0 * (brr + 1)), brr);
        rate = text;
    }
    std::string parity = "none";
    if (mode & 0x04u)
        parity = "odd";
    if (mode & 0x08u)
        parity = parity == "none" ? "even" : "odd+even (both bits set)";
    const std::string framing = (mode & 0x20u)   ? "no start/stop bits"
                                : (mode & 0x10u) ? "1 start, 2 stop bits"
                                                 : "1 start, 1 stop bit";
    const std::string repeat = p[6] == 0 ? "forever" : std::to_string(p[6]) + " times";

    return "rate " + rate + "; parity " + parity + "; " + framing + "; output " +
           ((mode & 0x02u) ? "inverted" : "not inverted") + "; startup delay " + Delay(p[0], 4.0) +
           "; message delay " + Delay(p[4], 4.0) + "; byte delay " + Delay(p[5], 0.1) +
           "; repeat " + repeat + "; length " + std::to_string(p[7]);
}

} // namespace sg::sim
