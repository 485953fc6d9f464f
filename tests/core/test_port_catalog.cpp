#include "protocol/port_catalog.h"

#include <doctest/doctest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

using namespace sg::protocol;

TEST_CASE("numbers count from one")
{
    const PortCatalog catalog(
        {{.label = "ttyS0", .device = "/dev/ttyS0"},
         {.label = "sgsim-1", .device = "/dev/pts/4", .description = "sgsim device simulator"}});
    CHECK(catalog.text() == "COM1  /dev/ttyS0\nCOM2  /dev/pts/4  sgsim device simulator");
    CHECK(catalog.find(2)->device == "/dev/pts/4");
    CHECK_FALSE(catalog.find(0));
    CHECK_FALSE(catalog.find(3));
    CHECK(catalog.numberOf("sgsim-1") == 2);
    CHECK(catalog.numberOf("sgsim-2") == 0);
}

TEST_CASE("labels sort by their trailing number's value")
{
    std::istringstream in("9 10 sgsim-99999 sgsim-100000 sgsim-100000 sgsim-9999999999 "
                          "sgsim-10000000000 ttyUSB ttyUSB0 ttyUSB01 ttyUSB1 ttyUSB2 ttyUSB10");
    const std::vector<std::string> labels{std::istream_iterator<std::string>(in), {}};
    for (std::size_t i = 0; i + 1 < labels.size(); ++i) {
        CAPTURE(labels[i]);
        CHECK(NaturalLess(labels[i], labels[i + 1]) == (labels[i] != labels[i + 1]));
        CHECK_FALSE(NaturalLess(labels[i + 1], labels[i]));
    }
}

TEST_CASE("a system's own numbers are kept, gaps and all, and its unlisted ports open")
{
    const PortCatalog catalog({{.label = "COM3",
                                .device = "\\\\.\\COM3",
                                .description = "USB Serial Port (COM3)",
                                .number = 3},
                               {.label = "COM21", .device = "\\\\.\\COM21", .number = 21}},
                              "\\\\.\\COM");
    CHECK(catalog.find(21)->device == "\\\\.\\COM21");
    CHECK_FALSE(catalog.find(1));
    CHECK(catalog.deviceOf(21) == "\\\\.\\COM21");
    CHECK(catalog.deviceOf(7) == "\\\\.\\COM7");
    CHECK(catalog.numberOf("COM3") == 3);
    CHECK(catalog.text() == "COM3  \\\\.\\COM3  USB Serial Port (COM3)\nCOM21  \\\\.\\COM21");
}

TEST_CASE("a missing port's text names the ports that are there")
{
    const PortCatalog two({{.label = "COM3", .number = 3}, {.label = "COM21", .number = 21}});
    CHECK(MissingPortText("COM42", two) ==
          "COM42: no such port on this computer; ports here: COM3, COM21");
    CHECK(MissingPortText("COM42", PortCatalog()) ==
          "COM42: no such port on this computer; no serial ports found");
}
