#include "sim/line_check.h"

#include <array>
#include <utility>

namespace sg::sim {

namespace {

long BaudOf(speed_t speed)
{
    // B0 is a hang-up, which a device hears as a line at no rate.
    static constexpr std::array<std::pair<speed_t, long>, 14> RATES{{{B0, 0},
                                                                     {B300, 300},
                                                                     {B600, 600},
                                                                     {B1200, 1200},
                                                                     {B2400, 2400},
                                                                     {B4800, 4800},
                                                                     {B9600, 9600},
                                                                     {B19200, 19200},
                                                                     {B38400, 38400},
                                                                     {B57600, 57600},
                                                                     {B115200, 115200},
                                                                     {B230400, 230400},
                                                                     {B460800, 460800},
                                                                     {B921600, 921600}}};
    for (const auto &[code, baud] : RATES) {
        if (code == speed)
            return baud;
    }
    return -1;
}

// Linux keeps one speed for both directions on a terminal.
std::string RateText(const termios &line)
{
    const long baud = BaudOf(cfgetospeed(&line));
    return baud < 0 ? "?" : std::to_string(baud);
}

std::string FrameText(const termios &line)
{
    const tcflag_t size = line.c_cflag & CSIZE;
    const char bits = size == CS5 ? '5' : size == CS6 ? '6' : size == CS7 ? '7' : '8';
    const char parity = !(line.c_cflag & PARENB) ? 'N' : (line.c_cflag & PARODD) ? 'O' : 'E';
    const char stops = (line.c_cflag & CSTOPB) ? '2' : '1';
    return {bits, parity, stops};
}

// Every translation a line discipline could make of the tool's bytes or the device's.
std::string CookedText(const termios &line)
{
    static constexpr std::array<std::pair<tcflag_t, const char *>, 4> LOCAL{
        {{ICANON, "ICANON"}, {ECHO, "ECHO"}, {ISIG, "ISIG"}, {IEXTEN, "IEXTEN"}}};
    static constexpr std::array<std::pair<tcflag_t, const char *>, 6> INPUT{{{ICRNL, "ICRNL"},
                                                                             {INLCR, "INLCR"},
                                                                             {IGNCR, "IGNCR"},
                                                                             {ISTRIP, "ISTRIP"},
                                                                             {IXON, "IXON"},
                                                                             {IXOFF, "IXOFF"}}};
    std::string text;
    const auto add = [&text](const char *flag) {
        text += text.empty() ? flag : std::string(" ") + flag;
    };
    for (const auto &[flag, name] : LOCAL) {
        if (line.c_lflag & flag)
            add(name);
    }
    for (const auto &[flag, name] : INPUT) {
        if (line.c_iflag & flag)
            add(name);
    }
    if (line.c_oflag & OPOST)
        add("OPOST");
    if (line.c_cflag & CRTSCTS)
        add("CRTSCTS");
    return text;
}

} // namespace

std::optional<std::string> LineFault(const termios &line)
{
    const std::string frame = RateText(line) + " " + FrameText(line);
    const std::string cooked = CookedText(line);
    if (frame == "9600 8N1" && cooked.empty())
        return std::nullopt;
    return cooked.empty() ? frame : frame + ", " + cooked;
}

} // namespace sg::sim
