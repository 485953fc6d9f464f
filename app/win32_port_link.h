#pragma once

#include "protocol/serial_link.h"
#include "win32/message_loop.h"

#include <memory>

namespace sg::app {

// The link both Windows programs transfer on: the comm API for a COM port, Winsock for a
// port behind a network serial server, all on the one loop.
std::unique_ptr<protocol::SerialLink> MakeWin32PortLink(win32::MessageLoop &loop);

} // namespace sg::app
