#pragma once

#include "transfer/ticker.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace sg::qtcore {

// The transfer timer on QTimer; each timeout calls onTick.
class QtTicker : public QObject, public transfer::Ticker
{
    Q_OBJECT

public:
    explicit QtTicker(std::function<void()> onTick, int periodMs = transfer::TICK_MS,
                      QObject *parent = nullptr);

    void start() override;
    void stop() override;
    bool isActive() const { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_onTick;
};

} // namespace sg::qtcore
