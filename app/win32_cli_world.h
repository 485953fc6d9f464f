#pragma once

#include "cli/world.h"
#include "win32/console_event_loop.h"
#include "win32/message_loop.h"

namespace sg::app {

// The command line on Windows: the ports Windows lists and the ports file, port links and SetTimer
// tickers on one message loop.
class Win32CliWorld : public cli::World
{
public:
    explicit Win32CliWorld(win32::MessageLoop &loop) : m_messages(loop), m_loop(loop) {}

    protocol::PortCatalog ports() const override;
    std::string resolvePortName(const std::string &name) const override;
    std::unique_ptr<protocol::SerialLink> makeLink() override;
    std::unique_ptr<transfer::Ticker> makeTicker(int periodMs,
                                                 std::function<void()> onTick) override;
    transfer::EventLoop &loop() override { return m_loop; }
    void write(Stream stream, std::string_view text) override;

private:
    win32::MessageLoop &m_messages;
    win32::ConsoleEventLoop m_loop;
};

} // namespace sg::app
