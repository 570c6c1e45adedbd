// SPDX-License-Identifier: MIT
#include "SmoothMotion.h"

#include "Label.h"
#include "LabelHost.h"
#include "Twips.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

namespace {

// More ticks than this at once (the machine was suspended, the process
// stopped) are not made up for: the message goes on from where it was.
constexpr std::int64_t MostTicksCaughtUp = 50;

std::int64_t monotonicNow()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.nsecsElapsed();
}

} // namespace

SmoothMotion::SmoothMotion(runtime::Label &label, std::function<void()> tick,
                           std::function<std::int16_t()> speed, QObject *parent)
    : QObject(parent), m_label(label), m_tick(std::move(tick)), m_speed(std::move(speed)),
      m_clock(monotonicNow)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        const std::int64_t next = frame();
        if (m_running)
            m_timer.start(int((next + 500'000) / 1'000'000)); // the nearest millisecond
    });
}

void SmoothMotion::start()
{
    if (m_running)
        return;
    m_running = true;
    m_placed = false;
    m_timer.start(0);
}

void SmoothMotion::stop()
{
    m_running = false;
    m_timer.stop();
    m_label.setDrawOffset(0);
}

void SmoothMotion::restart(std::int64_t now)
{
    m_epoch = now;
    m_ticksDone = 0;
    m_tickLeft = m_label.Left();
    m_placed = true;
}

std::int64_t SmoothMotion::frame()
{
    const std::int64_t now = m_clock();
    // Moved by anything but the ticks (a layout starts the message again
    // from the right edge): the time counts from here.
    if (!m_placed || m_label.Left() != m_tickLeft)
        restart(now);

    std::int64_t due = (now - m_epoch) / TickNs;
    if (due - m_ticksDone > MostTicksCaughtUp) {
        m_epoch += (due - m_ticksDone - 1) * TickNs;
        due = m_ticksDone + 1;
    }
    // The ticks and the new offset may bring the message back to the pixel
    // it was drawn on: then nothing is repainted.
    m_label.holdRepaints();
    for (; m_ticksDone < due; ++m_ticksDone) {
        m_tick();
        m_tickLeft = m_label.Left();
    }
    const double step = double(m_speed()) * 0.01; // twips a tick
    const double into = double(now - m_epoch - m_ticksDone * TickNs) / double(TickNs);
    m_label.setDrawOffset(-step * into);
    m_label.releaseRepaints();

    // The next frame: when the drawn left edge reaches the next device
    // pixel, no sooner than the display's refresh interval allows; and at
    // least once a tick, at the tick itself when that one wraps the message
    // (the only tick that shows), else whenever, to see a new speed.
    const std::int64_t toTick = m_epoch + (m_ticksDone + 1) * TickNs - now;
    const double width = std::round(m_label.Width());
    const bool wrapsNext = m_tickLeft - step < -width;
    const std::int64_t latest = wrapsNext ? toTick : TickNs;
    // A frame a little early rather than one late: timers keep whole
    // milliseconds.
    const std::int64_t soonest = m_frameNs * 95 / 100;
    if (step == 0)
        return std::max(latest, soonest);
    const double pixelsPerTwip = m_label.host()->devicePixelRatioF() / runtime::twipsPerPixel();
    const double position = (m_tickLeft - step * into) * pixelsPerTwip;
    // Drawn at the nearest pixel: it changes when the position passes the
    // next half pixel in the direction of motion.
    const double edge = step > 0 ? std::round(position) - 0.5 : std::round(position) + 0.5;
    const double pixelsPerNs = std::abs(step) * pixelsPerTwip / double(TickNs);
    const auto toPixel = std::int64_t(std::ceil(std::abs(position - edge) / pixelsPerNs)) + 1;
    return std::max(std::min(toPixel, latest), soonest);
}
