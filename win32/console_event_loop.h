#pragma once

#include "transfer/event_loop.h"
#include "win32/message_loop.h"
#include "win32/ticker_window.h"
#include "win32/unique_handle.h"

namespace sg::win32 {

// The command line's loop on the Win32 message loop; Ctrl+C or Ctrl+Break ends it as an
// interrupt, so that the ports are closed in order rather than by the process dying.
class ConsoleEventLoop : public transfer::EventLoop
{
public:
    explicit ConsoleEventLoop(MessageLoop &loop);
    ~ConsoleEventLoop() override;
    ConsoleEventLoop(const ConsoleEventLoop &) = delete;
    ConsoleEventLoop &operator=(const ConsoleEventLoop &) = delete;

    bool run() override;
    void stop() override;
    void tickOnce(int ms, std::function<void()> call) override;

private:
    MessageLoop &m_loop;
    TickerWindow m_calls;
    UniqueHandle m_interrupt;
    bool m_interrupted = false;
};

} // namespace sg::win32
