#pragma once

#include <windows.h>

namespace sg::win32 {

// The input queue asked of the driver, which the flow-control limits are measured in.
constexpr DWORD IN_QUEUE_BYTES = 1024;
constexpr DWORD OUT_QUEUE_BYTES = 512;

// Every field of the device's line, 9600 8N1 with no flow control and DTR and RTS
// raised, from known values: nothing another program or the driver left behind.
DCB LineSettings();

// A read returns at once with what has arrived, or waits for the first byte and ends
// empty after READ_WAIT_MS; a write that the line cannot take ends in a second.
constexpr DWORD READ_WAIT_MS = 1000;
COMMTIMEOUTS LineTimeouts();

} // namespace sg::win32
