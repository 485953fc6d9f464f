#pragma once

#include "transfer/event_loop.h"

#include <QObject>
#include <QSocketNotifier>

namespace sg::qtcore {

// The command line's loop on QCoreApplication; SIGINT (Ctrl+C) ends it as an interrupt,
// so that the ports are closed in order rather than by the process dying.
class QtEventLoop : public QObject, public transfer::EventLoop
{
    Q_OBJECT

public:
    QtEventLoop();
    ~QtEventLoop() override;
    QtEventLoop(const QtEventLoop &) = delete;
    QtEventLoop &operator=(const QtEventLoop &) = delete;

    bool run() override;
    void stop() override;
    void tickOnce(int ms, std::function<void()> call) override;

private:
    void interrupted();

    int m_signalPipe[2]{-1, -1};
    QSocketNotifier *m_signals = nullptr;
    bool m_interrupted = false;
};

} // namespace sg::qtcore
