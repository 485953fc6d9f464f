#include "fake_transfer.h"
#include "protocol/port_resolver.h"

#include <doctest/doctest.h>

#include <map>
#include <string>

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
        {"zero", u"0", -1},
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

TEST_CASE("a number the system numbers opens unlisted, one counted from one does not")
{
    const PortCatalog windows(
        std::vector<Port>{{.label = "COM3", .device = "\\\\.\\COM3", .number = 3}}, "\\\\.\\COM");
    const Resolved unlisted = ResolveComText(u"7", windows);
    CHECK((unlisted.port.name == "COM7" && unlisted.port.device == "\\\\.\\COM7" &&
           unlisted.error.empty()));
    const Resolved counted = ResolveComText(
        u" 9 ", PortCatalog(std::vector<Port>{{.label = "ttyS0", .device = "/dev/ttyS0"}}));
    CHECK(counted.port.device.empty());
    CHECK(counted.error == "COM9: no such port on this computer; ports here: COM1");
}

TEST_CASE("a name reaches the catalog's port it points at, a number the catalog's own")
{
    const PortCatalog catalog(
        {{.label = "ttyS0", .device = "/dev/ttyS0"},
         {.label = "ttyUSB0", .device = "/dev/ttyUSB0", .stableName = "/dev/serial/by-id/usb-a"}});
    const std::map<std::string, std::string> links{{"/dev/serial/by-id/usb-a", "/dev/ttyUSB0"}};
    const auto systemName = [&links](const std::string &name) {
        const auto link = links.find(name);
        return link == links.end() ? name : link->second;
    };
    const struct
    {
        PortChoice choice;
        int com; // 0: none
        const char *name;
        const char *device;
    } rows[] = {
        {{"COM2", 2}, 2, "COM2", "/dev/ttyUSB0"},
        {{"COM9", 9}, 9, "COM9", ""},
        {{"/dev/ttyUSB0", {}}, 2, "/dev/ttyUSB0", "/dev/ttyUSB0"},
        {{"/dev/serial/by-id/usb-a", {}}, 2, "/dev/serial/by-id/usb-a", "/dev/ttyUSB0"},
        {{"/dev/ttyACM0", {}}, 0, "/dev/ttyACM0", "/dev/ttyACM0"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.choice.given);
        const Port target = ResolvePort(row.choice, catalog, systemName).port;
        CHECK(target.number == row.com);
        CHECK(target.name == row.name);
        CHECK(target.device == row.device);
    }
}

TEST_CASE("a port the system does not have after all is told with the ports there are")
{
    const PortCatalog catalog(std::vector<Port>{{.label = "COM3", .number = 3}});
    const Resolved target = ResolvePort({"COM7", 7}, catalog);
    Journal journal;
    FakeLink link{journal};
    const struct
    {
        bool missing;
        std::string ifMissing;
        std::string text;
    } rows[] = {
        {true, target.ifMissing, "COM7: no such port on this computer; ports here: COM3"},
        {false, target.ifMissing, "/dev/fake: reason"},
        {true, "", "/dev/fake: reason"},
    };
    for (const auto &row : rows) {
        link.missing = row.missing;
        CHECK(LinkFailureText({.ifMissing = row.ifMissing}, link) == row.text);
    }
}
