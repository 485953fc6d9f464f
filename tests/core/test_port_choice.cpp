#include "cli/port_choice.h"

#include <doctest/doctest.h>

using namespace sg::cli;
using sg::protocol::PortChoice;

TEST_CASE("a port is a number from 1 to 99 or a device name")
{
    const struct
    {
        const char *text;
        const char *given; // nullptr: refused
        int com;           // 0: none
    } rows[] = {
        {"3", "COM3", 3},
        {"03", "COM3", 3},
        {"COM12", "COM12", 12},
        {"com7", "COM7", 7},
        {"/dev/ttyUSB0", "/dev/ttyUSB0", 0},
        {R"(\\.\COM3)", R"(\\.\COM3)", 0},
        {"0", nullptr, 0},
        {"100", nullptr, 0},
        {"COM", nullptr, 0},
        {"COM100", nullptr, 0},
        {"ttyUSB0", nullptr, 0},
        {"/", nullptr, 0},
        {"-1", nullptr, 0},
    };
    for (const auto &row : rows) {
        CAPTURE(row.text);
        std::string error;
        const std::optional<PortChoice> choice = ParsePortChoice(row.text, error);
        REQUIRE(choice.has_value() == (row.given != nullptr));
        if (choice) {
            CHECK(choice->given == row.given);
            CHECK(choice->com.value_or(0) == row.com);
        } else {
            CHECK(error.find(std::string("got '") + row.text + "'") != std::string::npos);
        }
    }
}
