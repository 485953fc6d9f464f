#include "protocol/port_catalog.h"

#include <doctest/doctest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

using namespace sg::protocol;

TEST_CASE("ParseComNumber takes one or two ASCII digits, spaces around")
{
    const struct
    {
        const char *name;
        std::u16string text;
        int number; // -1: not a number
    } rows[] = {
        {"one digit", u"1", 1},
        {"two digits", u"12", 12},
        {"the highest", u"99", 99},
        {"zero", u"0", 0},
        {"spaces around", u" 3 ", 3},
        {"leading zero", u"07", 7},
        {"empty", u"", -1},
        {"only spaces", u"  ", -1},
        {"letter", u"x", -1},
        {"sign", u"-1", -1},
        {"inner space", u"1 2", -1},
        {"three digits", u"100", -1},
        {"fullwidth digit", u"\uFF11", -1},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        CHECK(ParseComNumber(row.text).value_or(-1) == row.number);
    }
}

TEST_CASE("numbers count from one")
{
    const PortCatalog catalog({{"ttyS0", "/dev/ttyS0", "", "", 0, {}},
                               {"sgsim-1", "/dev/pts/4", "sgsim device simulator", "", 0, {}}});
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
    const PortCatalog catalog({{"COM3", "\\\\.\\COM3", "", "USB Serial Port (COM3)", 3, {}},
                               {"COM21", "\\\\.\\COM21", "", "", 21, {}}},
                              "\\\\.\\COM");
    CHECK(catalog.find(21)->device == "\\\\.\\COM21");
    CHECK_FALSE(catalog.find(1));
    CHECK(catalog.deviceOf(21) == "\\\\.\\COM21");
    CHECK(catalog.deviceOf(7) == "\\\\.\\COM7");
    const Port unlisted = ResolveComText(u"7", catalog);
    CHECK((unlisted.name == "COM7" && unlisted.device == "\\\\.\\COM7" && unlisted.error.empty()));
    const Port counted =
        ResolveComText(u" 9 ", PortCatalog({{"ttyS0", "/dev/ttyS0", "", "", 0, {}}}));
    CHECK(counted.device.empty());
    CHECK(counted.error == "COM9: no such port on this computer; ports here: COM1");
    CHECK(catalog.numberOf("COM3") == 3);
    CHECK(catalog.text() == "COM3  \\\\.\\COM3  USB Serial Port (COM3)\nCOM21  \\\\.\\COM21");
}

TEST_CASE("a missing port's text names the ports that are there")
{
    const PortCatalog two({{"COM3", "", "", "", 3, {}}, {"COM21", "", "", "", 21, {}}});
    CHECK(MissingPortText("COM42", two) ==
          "COM42: no such port on this computer; ports here: COM3, COM21");
    CHECK(MissingPortText("COM42", PortCatalog()) ==
          "COM42: no such port on this computer; no serial ports found");
}
