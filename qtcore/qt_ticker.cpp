#include "qtcore/qt_ticker.h"

namespace sg::qtcore {

QtTicker::QtTicker(std::function<void()> onTick, int periodMs, QObject *parent)
    : QObject(parent), m_onTick(std::move(onTick))
{
    m_timer.setInterval(periodMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_onTick(); });
}

void QtTicker::start()
{
    m_timer.start();
}

void QtTicker::stop()
{
    m_timer.stop();
}

} // namespace sg::qtcore
