#include "app/qt_port_link.h"

#include "qtcore/qt_serial_link.h"
#include "qtcore/qt_tcp_stream.h"
#include "qtcore/qt_ticker.h"
#include "remote/any_port_link.h"
#include "remote/network_link.h"

namespace sg::app {

std::unique_ptr<protocol::SerialLink> MakeQtPortLink()
{
    const transfer::TickerFactory timers = [](int periodMs, std::function<void()> onTick) {
        return std::make_unique<qtcore::QtTicker>(std::move(onTick), periodMs);
    };
    return std::make_unique<remote::AnyPortLink>(
        std::make_unique<qtcore::QtSerialLink>(),
        std::make_unique<remote::NetworkLink>(std::make_unique<qtcore::QtTcpStream>(), timers));
}

} // namespace sg::app
