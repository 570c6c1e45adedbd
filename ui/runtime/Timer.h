// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace runtime {

// A form's timer: a precise interval timer whose handler runs through the
// event dispatcher. It keeps firing while its form is hidden or disabled and
// stops with the form or at the end of the program.
class Timer : public QObject
{
    Q_OBJECT

public:
    Timer(QObject *owner, int intervalMs, std::function<void()> handler);

    int Interval() const { return m_timer.interval(); }
    bool Enabled() const { return m_timer.isActive(); }
    void setEnabled(bool enabled);

    // Runs the handler once, as a tick would; for tests and benchmarks.
    void fire();

private:
    QTimer m_timer;
    std::function<void()> m_handler;
};

} // namespace runtime
