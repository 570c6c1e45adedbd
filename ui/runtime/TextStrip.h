// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>

#include <vector>

class QPainter;

namespace runtime {

// One line of text, laid out once and drawn as cached image tiles, so that
// drawing costs the same however long the text is: only the tiles that meet the
// painted area are drawn, each tile is rendered once while it stays in view,
// and glyphs too large for Qt's glyph cache are not filled again on every
// paint. The text is laid out in short runs of whole graphemes, measured
// once; the strip is as wide as its runs together.
//
// It does not wrap, elide or interpret "&": the text is shown as it is.
class TextStrip
{
public:
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

    // Draws the strip with its top-left corner at `origin`, touching only the
    // tiles that meet `clip` (both in the painter's coordinates).
    void paint(QPainter &painter, QPointF origin, const QRect &clip) const;

    // Tiles currently held; for tests and benchmarks.
    int cachedTileCount() const { return int(m_tiles.size()); }

    static constexpr int TileWidth = 256;

private:
    struct Run
    {
        qsizetype start;
        qsizetype length;
        double x;
    };

    void ensureLaidOut() const;
    void invalidate();
    QImage renderTile(qint64 index, qreal devicePixelRatio) const;

    QString m_text;
    QFont m_font;
    QColor m_color = Qt::black;
    QColor m_background;

    mutable bool m_laidOut = false;
    mutable std::vector<Run> m_runs;
    mutable double m_width = 0;
    mutable double m_height = 0;
    mutable double m_ascent = 0;
    mutable QHash<qint64, QImage> m_tiles;
};

} // namespace runtime
