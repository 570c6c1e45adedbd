// SPDX-License-Identifier: MIT
// bench_floor_window: the floor the sign is measured against. A bare Qt
// window of the same client size as the sign, black, repainted ten times a
// second with the message in green moving 2 pixels a tick (20 px/s), in the
// sign's font at the sign's size. It reads the same message (a UTF-8 file)
// and draws only as much of it as fits in the window: the least a program
// can do to show that sign. When the text has left the window it comes back
// in at the right.
//
// Given a pace in pixels a second, it moves the text as smooth motion does
// instead: one pixel at a time at that pace, the position taken from a
// monotonic clock, but never more often than the screen's refresh rate
// (then several pixels a frame), and repainted only when it moved. The
// frames come from a precise timer in whole milliseconds, rounded up: every
// 50 ms at 20 px/s, every 17 ms at 200 px/s on a 60 Hz screen.
//
// Usage: bench_floor_window WIDTH HEIGHT MESSAGE-FILE [PIXELS-A-SECOND]

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

class FloorWindow : public QWidget
{
public:
    // Ten ticks a second, 2 pixels each; or, with `pixelsPerSecond`, smooth.
    FloorWindow(const QString &text, int height, double pixelsPerSecond = 0) : m_text(text)
    {
        // The sign's font: its point size is the client height in points.
        m_font.setFamilies({QStringLiteral("IPAPGothic")});
        m_font.setPointSizeF(height * 15 / 20);
        m_textWidth = QFontMetricsF(m_font).horizontalAdvance(m_text);
        m_x = 0;
        if (pixelsPerSecond <= 0) {
            connect(&m_timer, &QTimer::timeout, this, [this] {
                moveTo(m_x - 2);
                update();
            });
            m_timer.start(100);
            return;
        }
        const double refresh =
            screen() && screen()->refreshRate() > 0 ? screen()->refreshRate() : 60.0;
        const double frameMs = std::max(1000.0 / pixelsPerSecond, 1000.0 / refresh);
        m_clock.start();
        connect(&m_timer, &QTimer::timeout, this, [this, pixelsPerSecond] {
            const double moved = double(m_clock.nsecsElapsed()) / 1e9 * pixelsPerSecond;
            const int x = -int(std::floor(moved));
            if (x == m_lastX)
                return;
            moveTo(m_x - (m_lastX - x));
            m_lastX = x;
            update();
        });
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.start(int(std::ceil(frameMs)));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        painter.setPen(Qt::green);
        painter.setFont(m_font);
        painter.drawText(QPointF(width() + m_x, painter.fontMetrics().ascent()), m_text);
    }

private:
    // Back in at the right once the text has left the window.
    void moveTo(int x)
    {
        m_x = x;
        if (width() + m_x + m_textWidth < 0)
            m_x = 0;
    }

    QString m_text;
    QFont m_font;
    double m_textWidth = 0;
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_x;
    int m_lastX = 0;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr,
                     "usage: bench_floor_window WIDTH HEIGHT MESSAGE-FILE [PIXELS-A-SECOND]\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    const double pixelsPerSecond = argc == 5 ? std::atof(argv[4]) : 0;
    QFile file(QString::fromLocal8Bit(argv[3]));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QString message = QString::fromUtf8(file.readAll());
    QApplication app(argc, argv);
    // As much as fits: a character is never narrower than a pixel.
    FloorWindow window(message.left(width * 2), height, pixelsPerSecond);
    window.resize(width, height);
    window.show();
    return app.exec();
}
