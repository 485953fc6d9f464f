#pragma once

#include "cli/world.h"
#include "win32/delayed_calls.h"
#include "win32/message_loop.h"
#include "win32/unique_handle.h"

namespace sg::app {

// The command line's loop on the Win32 message loop; Ctrl+C or Ctrl+Break ends it as an
// interrupt, so that the ports are closed in order rather than by the process dying.
class Win32EventLoop : public cli::EventLoop
{
public:
    explicit Win32EventLoop(win32::MessageLoop &loop);
    ~Win32EventLoop() override;
    Win32EventLoop(const Win32EventLoop &) = delete;
    Win32EventLoop &operator=(const Win32EventLoop &) = delete;

    bool run() override;
    void stop() override;
    void callAfter(int ms, std::function<void()> call) override;

private:
    win32::MessageLoop &m_loop;
    win32::DelayedCalls m_calls;
    win32::UniqueHandle m_interrupt;
    bool m_interrupted = false;
};

// The command line on Windows: the ports Windows lists, comm-API links and SetTimer
// tickers on one message loop.
class Win32CliWorld : public cli::World
{
public:
    explicit Win32CliWorld(win32::MessageLoop &loop) : m_messages(loop), m_loop(loop) {}

    protocol::PortCatalog ports() const override;
    std::string resolvePortName(const std::string &name) const override;
    std::unique_ptr<protocol::SerialLink> makeLink() override;
    std::unique_ptr<transfer::Ticker> makeTicker(std::function<void()> onTick) override;
    cli::EventLoop &loop() override { return m_loop; }
    void write(Stream stream, std::string_view text) override;

private:
    win32::MessageLoop &m_messages;
    Win32EventLoop m_loop;
};

} // namespace sg::app
