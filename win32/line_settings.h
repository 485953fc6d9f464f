#pragma once

#include <windows.h>

namespace sg::win32 {

// The input queue asked of the driver, which the flow-control limits are measured in.
constexpr DWORD IN_QUEUE_BYTES = 1024;
constexpr DWORD OUT_QUEUE_BYTES = 512;

// Every field of the device's line, 9600 8N1 with no flow control and DTR and RTS
// raised, from known values: nothing another program or the driver left behind.
DCB LineSettings();

// Reads wait for what they ask for; a write that the line cannot take ends in a second.
COMMTIMEOUTS LineTimeouts();

} // namespace sg::win32
