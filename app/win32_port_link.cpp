#include "app/win32_port_link.h"

#include "remote/any_port_link.h"
#include "remote/network_link.h"
#include "win32/comm_link.h"
#include "win32/tcp_stream.h"
#include "win32/win32_ticker.h"

namespace sg::app {

std::unique_ptr<protocol::SerialLink> MakeWin32PortLink(win32::MessageLoop &loop)
{
    const transfer::TickerFactory timers = [](int periodMs, std::function<void()> onTick) {
        return std::make_unique<win32::Win32Ticker>(std::move(onTick), static_cast<UINT>(periodMs));
    };
    return std::make_unique<remote::AnyPortLink>(
        std::make_unique<win32::CommLink>(loop),
        std::make_unique<remote::NetworkLink>(std::make_unique<win32::TcpStream>(loop), timers));
}

} // namespace sg::app
