// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QFontMetricsF;

namespace runtime {

// The runs of one line of text, laid out from its start: short runs of whole
// graphemes, each measured once, placed end to end. Layout goes as far as it
// is asked to and can be continued later, so that a long text is laid out
// only as far as it is shown; the same text and font always give the same
// runs, however the work was split. A text holding right-to-left script is
// one run: its visual order (the bidirectional algorithm's) is the whole
// line's, which runs laid end to end in reading order would break.
//
// It works on any one thread at a time (the fonts' metrics are those of the
// thread it runs on); it does no drawing.
class RunLayout
{
public:
    struct Run
    {
        qsizetype start;
        qsizetype length;
        double x;
    };

    RunLayout() = default;
    RunLayout(const QString &text, const QFont &font);
    RunLayout(RunLayout &&) noexcept;
    RunLayout &operator=(RunLayout &&) noexcept;
    ~RunLayout();

    // Lays out runs until they reach `x` pixels or the text ends. With a
    // `cancelled` test it gives up as soon as the test says so, between two
    // runs, and returns false then.
    bool layOutTo(double x, const std::function<bool()> &cancelled = {});
    bool isComplete() const { return m_next >= m_text.size(); }

    const std::vector<Run> &runs() const { return m_runs; }
    // The width of the runs laid out so far, in device-independent pixels.
    double width() const { return m_width; }
    // Characters (UTF-16 units) laid out so far.
    qsizetype laidOut() const { return m_next; }

private:
    void nextChunk();

    QString m_text;
    std::unique_ptr<QFontMetricsF> m_metrics;
    std::vector<Run> m_runs;
    double m_width = 0;
    qsizetype m_next = 0; // where the next run starts
    // Grapheme boundaries after m_next known so far (the current chunk's).
    std::vector<qsizetype> m_boundaries;
    std::size_t m_boundary = 0;
    // Laid out as one run (right-to-left script).
    bool m_whole = false;
};

} // namespace runtime
