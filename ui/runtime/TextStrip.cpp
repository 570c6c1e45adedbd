// SPDX-License-Identifier: MIT
#include "TextStrip.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace runtime {

namespace {
// Graphemes per measured run: short enough that a tile draws little beyond
// itself, long enough that kerning is lost only at rare run boundaries.
constexpr int GraphemesPerRun = 24;
} // namespace

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
    m_laidOut = false;
    m_tiles.clear();
}

double TextStrip::width() const
{
    ensureLaidOut();
    return m_width;
}

double TextStrip::height() const
{
    ensureLaidOut();
    return m_height;
}

void TextStrip::ensureLaidOut() const
{
    if (m_laidOut)
        return;
    m_laidOut = true;
    m_runs.clear();
    m_tiles.clear();

    const QFontMetricsF metrics(m_font);
    m_ascent = metrics.ascent();
    m_height = metrics.ascent() + metrics.descent();

    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, m_text);
    double x = 0;
    qsizetype start = 0;
    int count = 0;
    for (qsizetype pos = graphemes.toNextBoundary(); pos > 0; pos = graphemes.toNextBoundary()) {
        if (++count < GraphemesPerRun && pos < m_text.size())
            continue;
        const qsizetype length = pos - start;
        m_runs.push_back({start, length, x});
        x += metrics.horizontalAdvance(QStringView(m_text).mid(start, length).toString());
        start = pos;
        count = 0;
    }
    m_width = x;
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
    auto run = std::upper_bound(m_runs.begin(), m_runs.end(), left,
                                [](double x, const Run &r) { return x < r.x; });
    if (run != m_runs.begin())
        --run;
    for (; run != m_runs.end() && run->x < right; ++run)
        painter.drawText(QPointF(run->x - double(index) * TileWidth, m_ascent),
                         m_text.mid(run->start, run->length));
    return tile;
}

void TextStrip::paint(QPainter &painter, QPointF origin, const QRect &clip) const
{
    ensureLaidOut();
    if (m_runs.empty() || clip.isEmpty())
        return;
    // Tiles are placed on whole pixels so that they join without seams.
    const double x0 = std::round(origin.x());
    const double y0 = std::round(origin.y());
    // Tile numbers in 64 bits: a long message in a tall window is wider than
    // an int can count in pixels.
    const qint64 first = std::max<qint64>(0, qint64(std::floor((clip.left() - x0) / TileWidth)));
    const qint64 last = std::min((qint64(std::ceil(m_width)) - 1) / TileWidth,
                                 qint64(std::floor((clip.right() - x0) / TileWidth)));
    if (last < first || y0 > clip.bottom() || y0 + m_height < clip.top())
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
