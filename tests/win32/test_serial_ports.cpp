#include "win32/serial_ports.h"

#include <doctest/doctest.h>

using namespace sg::win32;

TEST_CASE("a port's COM number is its own, wherever the drivers list it")
{
    const sg::protocol::PortCatalog ports = PortsOfComNames(
        {L"COM12", L"LPT1", L"COM1", L"COM3", L"COM1", L"COMX"}, {{L"COM3", {L"BT", true}}});
    CHECK(ports.text() == "COM1  \\\\.\\COM1\nCOM3  \\\\.\\COM3  BT\nCOM12  \\\\.\\COM12");
    CHECK(ports.find(1)->label == "COM1");
    CHECK(ports.deviceOf(7) == "\\\\.\\COM7"); // a port its driver did not list
    CHECK((ports.find(1)->notProbed.empty() && !ports.find(3)->notProbed.empty()));
}
