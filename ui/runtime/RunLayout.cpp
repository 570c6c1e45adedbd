// SPDX-License-Identifier: MIT
#include "RunLayout.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>

namespace runtime {

namespace {
// Graphemes per measured run: short enough that a tile draws little beyond
// itself, long enough that kerning is lost only at rare run boundaries.
constexpr int GraphemesPerRun = 24;
// Characters whose grapheme boundaries are found at a time: finding them
// for a whole long text at once would cost as much as laying it all out.
constexpr qsizetype ChunkLength = 2048;
// Whether the text holds right-to-left script (Arabic, Hebrew…) or an
// explicit right-to-left mark.
bool holdsRightToLeft(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            code = QChar::surrogateToUcs4(text[i], text[++i]);
        switch (QChar::direction(code)) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirRLI:
            return true;
        default:
            break;
        }
    }
    return false;
}

} // namespace

RunLayout::RunLayout(const QString &text, const QFont &font)
    : m_text(text), m_metrics(std::make_unique<QFontMetricsF>(font)),
      m_whole(holdsRightToLeft(text))
{
}

RunLayout::RunLayout(RunLayout &&) noexcept = default;
RunLayout &RunLayout::operator=(RunLayout &&) noexcept = default;
RunLayout::~RunLayout() = default;

// Boundaries are found in a chunk that starts on a boundary already known.
// A boundary depends only on what precedes it within its own grapheme and
// on the one character after it, so every boundary found before the chunk's
// end is the text's own, provided the chunk does not end inside a surrogate
// pair; the chunk's end itself counts only at the text's end. A chunk with
// no boundary inside (one grapheme longer than it) is doubled until it has
// one.
void RunLayout::nextChunk()
{
    m_boundaries.clear();
    m_boundary = 0;
    const qsizetype start = m_next;
    for (qsizetype length = ChunkLength; m_boundaries.empty(); length *= 2) {
        qsizetype end = std::min(start + length, m_text.size());
        if (end < m_text.size() && m_text.at(end - 1).isHighSurrogate())
            ++end;
        const bool last = end == m_text.size();
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, m_text.constData() + start,
                                   end - start);
        for (qsizetype pos = finder.toNextBoundary(); pos > 0; pos = finder.toNextBoundary()) {
            if (start + pos < end || last)
                m_boundaries.push_back(start + pos);
        }
    }
}

bool RunLayout::layOutTo(double x, const std::function<bool()> &cancelled)
{
    if (m_whole && !isComplete() && m_width < x) {
        m_runs.push_back({0, m_text.size(), 0});
        m_width = m_metrics->horizontalAdvance(m_text);
        m_next = m_text.size();
        return true;
    }
    while (!isComplete() && m_width < x) {
        if (cancelled && cancelled())
            return false;
        // One run: up to GraphemesPerRun boundaries further, or the text's end.
        qsizetype end = m_next;
        for (int count = 0; count < GraphemesPerRun && end < m_text.size(); ++count) {
            if (m_boundary == m_boundaries.size()) {
                if (end != m_next)
                    break; // a run ends where a chunk does; the next starts afresh
                nextChunk();
            }
            end = m_boundaries[m_boundary++];
        }
        const qsizetype length = end - m_next;
        m_runs.push_back({m_next, length, m_width});
        m_width += m_metrics->horizontalAdvance(QStringView(m_text).mid(m_next, length).toString());
        m_next = end;
    }
    return true;
}

} // namespace runtime
