// SPDX-License-Identifier: MIT
#include "Timer.h"

#include "Program.h"

namespace runtime {

Timer::Timer(QObject *owner, int intervalMs, std::function<void()> handler)
    : QObject(owner), m_handler(std::move(handler))
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &Timer::fire);
}

void Timer::setEnabled(bool enabled)
{
    if (enabled)
        m_timer.start();
    else
        m_timer.stop();
}

void Timer::fire()
{
    if (hasEnded()) {
        m_timer.stop();
        return;
    }
    dispatch(m_handler);
}

} // namespace runtime
