#include "app/qt_port_link.h"

#include "remote/any_port_link.h"
#include "remote/network_link.h"
#include "serial/qt_serial_link.h"
#include "serial/qt_tcp_stream.h"
#include "serial/qt_ticker.h"

namespace sg::app {

std::unique_ptr<protocol::SerialLink> MakeQtPortLink()
{
    const transfer::TickerFactory timers = [](int periodMs, std::function<void()> onTick) {
        return std::make_unique<serial::QtTicker>(std::move(onTick), periodMs);
    };
    return std::make_unique<remote::AnyPortLink>(
        std::make_unique<serial::QtSerialLink>(),
        std::make_unique<remote::NetworkLink>(std::make_unique<serial::QtTcpStream>(), timers));
}

} // namespace sg::app
