#pragma once

#include "protocol/serial_link.h"

#include <memory>

namespace sg::app {

// The link both Linux programs transfer on: QSerialPort for a device, QTcpSocket for a
// port behind a network serial server.
std::unique_ptr<protocol::SerialLink> MakeQtPortLink();

} // namespace sg::app
