// SPDX-License-Identifier: MIT
// bench_floor_window: the floor the sign is measured against. A bare Qt
// window of the same client size as the sign, black, repainted ten times a
// second with the message in green moving 2 pixels a tick (20 px/s), in the
// sign's font at the sign's size. It reads the same message (a UTF-8 file)
// and draws only as much of it as fits in the window: the least a program
// can do to show that sign.
//
// Usage: bench_floor_window WIDTH HEIGHT MESSAGE-FILE

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

class FloorWindow : public QWidget
{
public:
    FloorWindow(const QString &text, int height) : m_text(text)
    {
        // The sign's font: its point size is the client height in points.
        m_font.setFamilies({QStringLiteral("IPAPGothic")});
        m_font.setPointSizeF(height * 15 / 20);
        m_x = 0;
        connect(&m_timer, &QTimer::timeout, this, [this] {
            m_x -= 2;
            update();
        });
        m_timer.start(100);
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
    QString m_text;
    QFont m_font;
    QTimer m_timer;
    int m_x;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_floor_window WIDTH HEIGHT MESSAGE-FILE\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    QFile file(QString::fromLocal8Bit(argv[3]));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QString message = QString::fromUtf8(file.readAll());
    QApplication app(argc, argv);
    // As much as fits: a character is never narrower than a pixel.
    FloorWindow window(message.left(width * 2), height);
    window.resize(width, height);
    window.show();
    return app.exec();
}
