// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

namespace runtime {
class Label;
}

// Moves the sign's message at the display's frame rate instead of in the
// ticker's 100 ms steps, at exactly the designed pace. The designed ticker
// still decides every position: each frame runs as many ticks as the time
// since the message last started from the right edge calls for (so a late
// frame does not slow it down), and draws the message the fraction of a
// step further on that the time into the current tick calls for (the
// label's draw offset; its Left stays the ticker's). Wrapping and restarting
// are the ticker's and the layout's, as designed.
//
// A frame is due when the drawn message would reach the next device pixel,
// never sooner than the display's refresh interval, and at least once a tick
// (at the tick itself when that tick wraps the message): 20 evenly spaced
// one-pixel steps a second at 20 px/s, one step a frame when faster. Nothing
// is repainted when nothing moved. It takes the time from a monotonic clock,
// which tests may replace.
class SmoothMotion : public QObject
{
    Q_OBJECT

public:
    // Nanoseconds from any fixed start.
    using Clock = std::function<std::int64_t()>;
    static constexpr std::int64_t TickNs = 100'000'000;

    SmoothMotion(runtime::Label &label, std::function<void()> tick,
                 std::function<std::int16_t()> speed, QObject *parent = nullptr);

    void start();
    void stop();
    bool isRunning() const { return m_running; }

    void setClock(Clock clock) { m_clock = std::move(clock); }
    // The display's refresh interval; 60 Hz until told otherwise.
    void setFrameInterval(std::int64_t ns) { m_frameNs = ns; }

    // One frame at the clock's present time; returns how long until the
    // next one is due (ns). The timer calls it; tests may call it directly.
    std::int64_t frame();

private:
    void restart(std::int64_t now);

    runtime::Label &m_label;
    std::function<void()> m_tick;
    std::function<std::int16_t()> m_speed;
    Clock m_clock;
    QTimer m_timer;
    bool m_running = false;
    std::int64_t m_frameNs = 1'000'000'000 / 60;
    std::int64_t m_epoch = 0;     // when the message last started
    std::int64_t m_ticksDone = 0; // ticks run since then
    double m_tickLeft = 0;        // the label's Left after the last tick
    bool m_placed = false;
};
