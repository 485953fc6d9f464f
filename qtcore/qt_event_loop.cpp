#include "qtcore/qt_event_loop.h"

#include <QCoreApplication>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace sg::qtcore {

namespace {

int g_signalWriteEnd = -1;

// Only what is safe in a signal handler: one byte into the pipe the loop watches.
void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(g_signalWriteEnd, &byte, 1);
}

} // namespace

QtEventLoop::QtEventLoop()
{
    if (::pipe2(m_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_signalWriteEnd = m_signalPipe[1];
    m_signals = new QSocketNotifier(m_signalPipe[0], QSocketNotifier::Read, this);
    connect(m_signals, &QSocketNotifier::activated, this, &QtEventLoop::interrupted);
    struct sigaction action
    {
    };
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
}

QtEventLoop::~QtEventLoop()
{
    std::signal(SIGINT, SIG_DFL);
    g_signalWriteEnd = -1;
    for (const int end : m_signalPipe) {
        if (end >= 0)
            ::close(end);
    }
}

bool QtEventLoop::run()
{
    QCoreApplication::exec();
    return !m_interrupted;
}

void QtEventLoop::stop()
{
    QCoreApplication::quit();
}

void QtEventLoop::tickOnce(int ms, std::function<void()> call)
{
    QTimer::singleShot(ms, Qt::PreciseTimer, this, std::move(call));
}

void QtEventLoop::interrupted()
{
    char bytes[16];
    while (::read(m_signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    m_interrupted = true;
    QCoreApplication::quit();
}

} // namespace sg::qtcore
