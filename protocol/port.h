#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sg::protocol {

// One port as the catalog or the ports file lists it, for the link that opens it.
struct Port
{
    // Each member has its default, so that a port is built naming only what it has.
    std::string label{};       // as the system lists it: ttyUSB0, sgsim-1234, an address
    std::string device{};      // what to open; empty when there is nothing to open
    std::string description{}; // may be empty
    std::string stableName{};  // a name that outlives re-plugging, e.g. a by-id link
    int number = 0;            // its COM number; 0 where no number reaches it
    std::string notProbed{};   // why a probe of every port passes it by; usually empty
    std::string name{};        // how reports name it: COMn, or the name the user gave
};

// A port as the user gave it: a COM number, or the port's own name (a device path such as
// /dev/serial/by-id/usb-… or \\.\COM3, or a network address).
struct PortChoice
{
    std::string given; // COMn for a number
    std::optional<int> com;
};

// What Windows puts before a device's own name, the form that also reaches COM10 and up.
inline constexpr std::string_view DEVICE_PREFIX = R"(\\.\)";

// The numbers a user picks a port by, as the COM box takes them.
inline constexpr int FIRST_PORT_NUMBER = 1;
inline constexpr int LAST_PORT_NUMBER = 99;

// One or two decimal digits from FIRST_PORT_NUMBER to LAST_PORT_NUMBER; nothing else.
std::optional<int> ParsePortNumber(std::string_view text);

// "COM" or "com" and the digits of a number from 1, as Windows names its ports (which
// go past COM99).
std::optional<int> ParseComName(std::string_view text);

// COMn.
std::string ComName(int number);

// "COMn  /dev/...  description  stable name": one port as the user sees it listed.
std::string DescribePort(const Port &port);

} // namespace sg::protocol
