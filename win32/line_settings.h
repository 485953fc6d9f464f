#pragma once

#include <windows.h>

namespace sg::win32 {

// The input queue asked of the driver, which the flow-control limits are measured in.
constexpr DWORD IN_QUEUE_BYTES = 1024;
constexpr DWORD OUT_QUEUE_BYTES = 512;

// Every field of the device's line, 9600 8N1 with no flow control and DTR and RTS
// raised, from known values: nothing another program or the driver left behind.
DCB LineSettings();

// A read waits for its first byte, then returns what came once the line pauses for
// READ_GAP_MS; a write that the line cannot take ends in a second.
constexpr DWORD READ_GAP_MS = 5;
COMMTIMEOUTS LineTimeouts();

} // namespace sg::win32
