// SPDX-License-Identifier: MIT
#pragma once

#include "RunLayout.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>

class QObject;
class QPainter;

namespace runtime {

// One line of text, laid out in short runs and drawn as cached image tiles,
// so that drawing costs the same however long the text is: only the tiles that
// meet the painted area are drawn, each tile is rendered once while it stays
// in view, and glyphs too large for Qt's glyph cache are not filled again on
// every paint.
//
// A short text is laid out whole when first needed. A long one is laid out
// only as far as it is drawn or asked for (layOutTo), and measured whole on a
// worker thread meanwhile; until that measurement lands (measured() is then
// called on the strip's thread), width() is an estimate no smaller than what
// has been laid out. The runs drawn are the same either way. A new text or
// font cancels a measurement under way.
//
// It does not wrap, elide or interpret "&": the text is shown as it is.
class TextStrip
{
public:
    TextStrip();
    TextStrip(const TextStrip &) = delete;
    TextStrip &operator=(const TextStrip &) = delete;
    ~TextStrip();

    void setText(const QString &text);
    void setFont(const QFont &font);
    void setColor(const QColor &color);
    // An opaque background is rendered into the tiles, which are then copied
    // rather than blended; an invalid colour keeps them transparent.
    void setBackground(const QColor &background);

    QString text() const { return m_text; }
    QFont font() const { return m_font; }

    // Width and height in device-independent pixels (height = ascent + descent).
    double width() const;
    double height() const;
    // Whether width() is the whole text's measured width.
    bool isMeasured() const;
    // Lays the runs out, on this thread, until they reach `x` pixels.
    void layOutTo(double x) const;

    // Called when a measurement made on the worker thread lands.
    std::function<void()> measured;

    // Draws the strip with its top-left corner at `origin`, touching only the
    // tiles that meet `clip` (both in the painter's coordinates).
    void paint(QPainter &painter, QPointF origin, const QRect &clip) const;

    // Tiles currently held; for tests and benchmarks.
    int cachedTileCount() const { return int(m_tiles.size()); }

    static constexpr int TileWidth = 256;
    // Longer texts are measured on the worker thread.
    static constexpr qsizetype MeasuredAside = 4096;

private:
    struct Measurement;

    void ensureStarted() const;
    void invalidate();
    void adopt(RunLayout &&layout) const;
    QImage renderTile(qint64 index, qreal devicePixelRatio) const;

    QString m_text;
    QFont m_font;
    QColor m_color = Qt::black;
    QColor m_background;

    mutable bool m_started = false;
    mutable RunLayout m_layout;
    mutable double m_height = 0;
    mutable double m_ascent = 0;
    mutable std::shared_ptr<Measurement> m_measurement;
    // Receives the worker's results on this strip's thread; made on first use.
    mutable std::unique_ptr<QObject> m_receiver;
    mutable QHash<qint64, QImage> m_tiles;
};

} // namespace runtime
