#include "hex_bytes.h"
#include "model/param_decoder.h"

#include <doctest/doctest.h>

#include <cmath>
#include <string>

using namespace sg::model;

TEST_CASE("DivisorFor picks the nearest divisor and says how far off it is")
{
    const struct
    {
        const char *name;
        double baud;
        int divisor;
        std::string gives;
        double errorPercent;
        bool reachable;
    } rows[] = {
        {"9600", 9600, 0x40, "9615", 0.16, true},
        {"19200 rounds up, not down to 1F", 19200, 0x20, "18939", -1.36, true},
        {"300", 300, 0x0822, "300", 0.016, true},
        {"115200 too far", 115200, 4, "125000", 8.51, false},
        {"above divisor 0", 1e6, 0, "625000", -37.5, false},
        {"below divisor FFFF", 5, 0xFFFF, "9.54", 90.73, false},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        const DivisorChoice choice = *DivisorFor(row.baud);
        CHECK(int{choice.divisor} == row.divisor);
        CHECK(FormatBaud(choice.baud) == row.gives);
        CAPTURE(choice.errorPercent);
        CHECK(std::fabs(choice.errorPercent - row.errorPercent) < 0.005);
        CHECK(choice.reachable == row.reachable);
    }
}

TEST_CASE("ExplainParam says what each byte does")
{
    const struct
    {
        const char *params;
        std::size_t index;
        std::string says;
    } rows[] = {
        {"1901004019 0A0004", 0, "Startup delay 19: 25 x 4 ms = 100.0 ms"},
        {"0001004019 0A0004", 4, "Message delay 19: 25 x 4 ms = 100.0 ms"},
        {"00010040190A0004", 5, "Byte delay 0A: 10 x 0.1 ms = 1.0 ms"},
        {"0001000000000000", 2, "Baud rate 00 00: divisor 0, 10^7 / (16 x 1) = 625000 baud"},
        {"000DFFFF00000000", 3, "Baud rate FF FF: divisor 65535, 10^7 / (16 x 65536) = 9.54 baud"},
        {"0001014000000000", 2, "Baud rate 01 40: divisor 320, 10^7 / (16 x 321) = 1947 baud"},
        {"0000004000000000", 2, "not used while mode bit 0 is 0"},
        {"0017000000000000", 1,
         "bit 2 = 1: odd parity\n  bit 3 = 0: no even parity\n  bit 4 = 1: two stop bits"},
        {"0008000000000000", 1, "bit 2 = 0: no odd parity\n  bit 3 = 1: even parity\n  bit 4 = 0"},
        {"0022000000000000", 1, "bit 1 = 1: output inverted"},
        {"0020000000000000", 1, "bit 5 = 1: no start and no stop bits"},
        {"0000000000000000", 6, "Repeat count 00: without end"},
        {"0000000000000004", 7, "Length 04: 4 message bytes"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.params);
        CAPTURE(row.index);
        const std::string text = ExplainParam(Params(row.params), row.index);
        CHECK_MESSAGE(text.find(row.says) != std::string::npos, text);
    }
}

TEST_CASE("ExplainData shows printable ASCII")
{
    CHECK(ExplainData({0x48, 0x69, 0x00, 0x7F}) == "4 bytes: 48 69 00 7F\nASCII: Hi..");
    CHECK(ExplainData({}) == "No message bytes");
}

TEST_CASE("the whole text for representative mode bytes")
{
    const std::string tail = "; startup delay 25 x 4 ms = 100.0 ms; message delay none; byte delay "
                             "10 x 0.1 ms = 1.0 ms; repeat 3 times; length 2";
    const struct
    {
        const char *mode;
        std::string head;
    } rows[] = {
        {"01", "rate 300 baud; parity none; 1 start, 1 stop bit; output not inverted"},
        {"1F",
         "rate 300 baud; parity odd and even both set; 1 start, 2 stop bits; output inverted"},
        {"29", "rate 300 baud; parity even; no start/stop bits; output not inverted"},
        {"1E", "rate 8192 baud (jumper open) or 16384 baud (jumper closed); parity none; 1 start, "
               "1 stop bit; output not inverted"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.mode);
        CHECK(DescribeParams(Params(std::string("19") + row.mode + "0822000A0302")) ==
              row.head + tail);
    }
}
