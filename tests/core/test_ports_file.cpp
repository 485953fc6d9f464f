#include "remote/ports_file.h"

#include <doctest/doctest.h>

using namespace sg::remote;
using sg::protocol::PortCatalog;

TEST_CASE("each line is a number, an address and a description; a bad line is left out with why")
{
    const PortsFile file = ParsePortsFile("\xEF\xBB\xBF# bench 3, saved by Notepad\n"
                                          "\n"
                                          " 1  rfc2217://bench3:4009  rack 3, slot 1  # tested\r\n"
                                          "99\tsocket://[fe80::1%25eth0]:65535\n"
                                          "0 socket://bench3:4003\n"
                                          "100 socket://bench3:4004\n"
                                          "x5 socket://bench3:4005\n"
                                          "7\n"
                                          "8 telnet://bench3:23\n"
                                          "9 socket://bench3:65536\n"
                                          "11 socket://b@d:1\n"
                                          "12 socket://[fe80::g]:1\n"
                                          "13 socket://bench3:40a1\n"
                                          "14 socket://bench3:012345",
                                          "ports");
    REQUIRE(file.ports.size() == 2);
    CHECK(file.ports[0].where == "ports line 3: ");
    CHECK(file.ports[0].port.number == 1);
    CHECK(file.ports[0].port.device == "rfc2217://bench3:4009");
    CHECK(file.ports[0].port.description == "rack 3, slot 1");
    CHECK(file.ports[1].port.number == 99);
    CHECK(file.ports[1].port.device == "socket://[fe80::1%25eth0]:65535");
    CHECK(file.ports[1].port.description.empty());
    CHECK(file.problems ==
          std::vector<std::string>{
              "ports line 5: '0' is not a port number from 1 to 99",
              "ports line 6: '100' is not a port number from 1 to 99",
              "ports line 7: 'x5' is not a port number from 1 to 99",
              "ports line 8: no rfc2217:// or socket:// address after 7",
              "ports line 9: 'telnet://bench3:23' is not rfc2217://HOST:PORT or socket://HOST:PORT",
              "ports line 10: 'socket://bench3:65536': '65536' is not a TCP port from 1 to 65535",
              "ports line 11: 'socket://b@d:1': 'b@d' is not a host name or address",
              "ports line 12: 'socket://[fe80::g]:1': 'fe80::g' is not an IPv6 address",
              "ports line 13: 'socket://bench3:40a1': '40a1' is not a TCP port from 1 to 65535",
              "ports line 14: 'socket://bench3:012345': '012345' is not a TCP port from 1 to "
              "65535",
          });
}

TEST_CASE("remote ports join the local ones under free numbers only")
{
    const PortCatalog local(
        {{.label = "ttyS0", .device = "/dev/ttyS0"},
         {.label = "ttyUSB0", .device = "/dev/ttyUSB0", .description = "FT232R"}});
    const PortCatalog catalog = WithRemotePorts(local, ParsePortsFile("2 socket://a:1\n"
                                                                      "5 rfc2217://b:2 chamber\n"
                                                                      "5 socket://c:3\n"
                                                                      "x\n",
                                                                      "ports"));
    CHECK(catalog.text() ==
          "COM1  /dev/ttyS0\n"
          "COM2  /dev/ttyUSB0  FT232R\n"
          "COM5  rfc2217://b:2  chamber\n"
          "ports line 1: 2 is already this computer's /dev/ttyUSB0; line left out\n"
          "ports line 3: 5 is already rfc2217://b:2; line left out\n"
          "ports line 4: 'x' is not a port number from 1 to 99");
    CHECK(catalog.deviceOf(5) == "rfc2217://b:2");
}

TEST_CASE("no ports file is no remote port")
{
    const PortsFile file = ReadPortsFile("/nonexistent/sgsetup/ports");
    CHECK(file.ports.empty());
    CHECK(file.problems.empty());
}
