// SPDX-License-Identifier: MIT
#include "TextStrip.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QObject>
#include <QPainter>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <mutex>

namespace runtime {

namespace {

constexpr double Everything = std::numeric_limits<double>::infinity();

// One worker thread measures long texts, one at a time; a measurement that
// is no longer wanted stops at its next run. The application waits for it
// as it ends, so no font is used after the application has gone.
std::atomic<bool> stopping = false;
bool waitRegistered = false;

QThreadPool &measurementPool()
{
    static QThreadPool pool;
    static const bool configured = [] {
        pool.setMaxThreadCount(1);
        return true;
    }();
    Q_UNUSED(configured);
    return pool;
}

void waitForMeasurements()
{
    stopping = true;
    measurementPool().clear();
    measurementPool().waitForDone();
    stopping = false;
    waitRegistered = false;
}

} // namespace

// A measurement on the worker thread. Cancelling takes the lock that posting
// the result holds, so a result is never posted to a strip that has gone.
struct TextStrip::Measurement
{
    std::mutex mutex;
    std::atomic<bool> cancelled = false;

    void cancel()
    {
        const std::lock_guard lock(mutex);
        cancelled = true;
    }
};

TextStrip::TextStrip() = default;

TextStrip::~TextStrip()
{
    if (m_measurement)
        m_measurement->cancel();
}

void TextStrip::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    invalidate();
}

void TextStrip::setFont(const QFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    invalidate();
}

void TextStrip::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    m_tiles.clear();
}

void TextStrip::setBackground(const QColor &background)
{
    if (background == m_background)
        return;
    m_background = background;
    m_tiles.clear();
}

void TextStrip::invalidate()
{
    if (m_measurement) {
        m_measurement->cancel();
        m_measurement.reset();
    }
    m_started = false;
    m_layout = RunLayout();
    m_tiles.clear();
}

void TextStrip::ensureStarted() const
{
    if (m_started)
        return;
    m_started = true;
    m_tiles.clear();
    const QFontMetricsF metrics(m_font);
    m_ascent = metrics.ascent();
    m_height = metrics.ascent() + metrics.descent();
    m_layout = RunLayout(m_text, m_font);
    if (m_text.size() <= MeasuredAside || !QCoreApplication::instance()) {
        m_layout.layOutTo(Everything);
        return;
    }

    auto job = std::make_shared<Measurement>();
    m_measurement = job;
    if (!m_receiver)
        m_receiver = std::make_unique<QObject>();
    if (!waitRegistered) {
        qAddPostRoutine(waitForMeasurements);
        waitRegistered = true;
    }
    QObject *receiver = m_receiver.get();
    const TextStrip *strip = this;
    // The worker builds its own font from the description: fonts share
    // their cached engines between copies, and those are not for two threads.
    measurementPool().start([job, receiver, strip, text = m_text, font = m_font.toString()] {
        QFont own;
        own.fromString(font);
        auto layout = std::make_shared<RunLayout>(text, own);
        if (!layout->layOutTo(Everything, [&job] { return job->cancelled || stopping; }))
            return;
        const std::lock_guard lock(job->mutex);
        if (job->cancelled)
            return;
        QMetaObject::invokeMethod(
            receiver,
            [job, strip, layout] {
                if (!job->cancelled)
                    strip->adopt(std::move(*layout));
            },
            Qt::QueuedConnection);
    });
}

void TextStrip::adopt(RunLayout &&layout) const
{
    m_measurement.reset();
    if (m_layout.isComplete())
        return; // laid out here first, as far as the end
    // The runs are the same as those laid out here so far, so the tiles held
    // stay as they are.
    m_layout = std::move(layout);
    if (measured)
        measured();
}

bool TextStrip::isMeasured() const
{
    ensureStarted();
    return m_layout.isComplete();
}

void TextStrip::layOutTo(double x) const
{
    ensureStarted();
    if (!m_layout.isComplete())
        m_layout.layOutTo(x);
}

double TextStrip::width() const
{
    ensureStarted();
    if (m_layout.isComplete())
        return m_layout.width();
    // Until measured: what is laid out, widened in proportion to the text
    // that is not.
    const double laidOut = m_layout.width();
    const qsizetype done = std::max<qsizetype>(m_layout.laidOut(), 1);
    const double perCharacter = laidOut > 0 ? laidOut / double(done) : m_height;
    return laidOut + perCharacter * double(m_text.size() - m_layout.laidOut());
}

double TextStrip::height() const
{
    ensureStarted();
    return m_height;
}

QImage TextStrip::renderTile(qint64 index, qreal devicePixelRatio) const
{
    const int tileHeight = int(std::ceil(m_height));
    const bool opaque = m_background.isValid() && m_background.alpha() == 255;
    QImage tile(QSize(TileWidth, std::max(tileHeight, 1)) * devicePixelRatio,
                opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    tile.setDevicePixelRatio(devicePixelRatio);
    tile.fill(opaque ? m_background : QColor(Qt::transparent));

    QPainter painter(&tile);
    painter.setFont(m_font);
    painter.setPen(m_color);
    // Runs whose ink may reach into this tile: a glyph can overhang its advance
    // by up to about one em on either side.
    const double left = double(index) * TileWidth - m_height;
    const double right = double(index + 1) * TileWidth + m_height;
    if (!m_layout.isComplete())
        m_layout.layOutTo(right);
    const auto &runs = m_layout.runs();
    auto run = std::upper_bound(runs.begin(), runs.end(), left,
                                [](double x, const RunLayout::Run &r) { return x < r.x; });
    if (run != runs.begin())
        --run;
    for (; run != runs.end() && run->x < right; ++run)
        painter.drawText(QPointF(run->x - double(index) * TileWidth, m_ascent),
                         m_text.mid(run->start, run->length));
    return tile;
}

void TextStrip::paint(QPainter &painter, QPointF origin, const QRect &clip) const
{
    ensureStarted();
    if (m_text.isEmpty() || clip.isEmpty())
        return;
    // Tiles are placed on whole pixels so that they join without seams.
    const double x0 = std::round(origin.x());
    const double y0 = std::round(origin.y());
    // Tile numbers in 64 bits: a long message in a tall window is wider than
    // an int can count in pixels.
    const qint64 first = std::max<qint64>(0, qint64(std::floor((clip.left() - x0) / TileWidth)));
    qint64 last = qint64(std::floor((clip.right() - x0) / TileWidth));
    if (last < first || y0 > clip.bottom() || y0 + m_height < clip.top())
        return;
    // Only as far as the text reaches: lay out up to the last tile in view
    // (or the text's end) and stop there.
    if (!m_layout.isComplete())
        m_layout.layOutTo(double(last + 1) * TileWidth);
    last = std::min(last, (qint64(std::ceil(m_layout.width())) - 1) / TileWidth);
    if (last < first)
        return;

    const qreal ratio = painter.device()->devicePixelRatioF();
    for (qint64 index = first; index <= last; ++index) {
        auto found = m_tiles.find(index);
        if (found == m_tiles.end())
            found = m_tiles.insert(index, renderTile(index, ratio));
        painter.drawImage(QPointF(x0 + double(index) * TileWidth, y0), *found);
    }
    // Keep the tiles in view and a few around them; drop the rest.
    const qint64 keep = (last - first + 1) + 4;
    if (m_tiles.size() > keep) {
        for (auto it = m_tiles.begin(); it != m_tiles.end();)
            it = (it.key() < first - 1 || it.key() > last + 2) ? m_tiles.erase(it) : std::next(it);
    }
}

} // namespace runtime
