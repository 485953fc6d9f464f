#include "sim/line_check.h"

#include <doctest/doctest.h>

#include <functional>

TEST_CASE("the simulator names every setting a device would hear as noise")
{
    const struct
    {
        std::function<void(termios &)> change;
        std::string fault;
    } rows[] = {
        {[](termios &) {}, ""},
        {[](termios &t) { cfsetspeed(&t, B19200); }, "19200 8N1"},
        {[](termios &t) { cfsetspeed(&t, B0); }, "0 8N1"},
        {[](termios &t) { cfsetspeed(&t, B50); }, "? 8N1"},
        {[](termios &t) { t.c_cflag |= PARENB; }, "9600 8E1"},
        {[](termios &t) {
             t.c_cflag = (t.c_cflag & ~tcflag_t{CSIZE}) | CS7 | PARENB | PARODD | CSTOPB;
         },
         "9600 7O2"},
        {[](termios &t) { t.c_iflag |= IXON | IXOFF; }, "9600 8N1, IXON IXOFF"},
        {[](termios &t) { t.c_cflag |= CRTSCTS; }, "9600 8N1, CRTSCTS"},
        {[](termios &t) {
             t.c_lflag |= ICANON | ECHO | ISIG | IEXTEN, t.c_oflag |= OPOST;
             t.c_iflag |= ICRNL | INLCR | IGNCR | ISTRIP;
         },
         "9600 8N1, ICANON ECHO ISIG IEXTEN ICRNL INLCR IGNCR ISTRIP OPOST"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.fault);
        termios line{};
        cfmakeraw(&line);
        cfsetspeed(&line, B9600);
        row.change(line);
        CHECK(sg::sim::LineFault(line).value_or("") == row.fault);
    }
    // Every other rate a host may set, each by its own number.
    std::string rates;
    for (const speed_t speed :
         {B300, B600, B1200, B2400, B4800, B38400, B57600, B115200, B230400, B460800, B921600}) {
        termios line{};
        cfmakeraw(&line);
        cfsetspeed(&line, speed);
        rates += sg::sim::LineFault(line).value_or("") + ",";
    }
    CHECK(rates == "300 8N1,600 8N1,1200 8N1,2400 8N1,4800 8N1,38400 8N1,57600 8N1,115200 8N1,"
                   "230400 8N1,460800 8N1,921600 8N1,");
}
