// SPDX-License-Identifier: MIT
// bench_long_message: what a long message costs the sign's GUI thread when
// the window's height changes, and whether it keeps its pace far into the
// text; for one message length and one client height.
//
// It starts the sign the way the program does (files in a scratch directory,
// Form_Load) on the platform Qt is given (bench/run.sh uses offscreen), then:
//  1. Height changes: the client height goes back and forth between H and
//     H + 1 pixel, each change followed by a synchronous repaint; the GUI
//     thread's CPU time (CLOCK_THREAD_CPUTIME_ID) per change, median and max.
//  2. A drag: for three seconds, with the sign's own 100 ms timer running,
//     the height is changed every 16 ms (60 changes a second), sweeping
//     H .. H + 60 px and back, as a user dragging the edge would; the longest
//     gap between two ticks of the timer and the 99th percentile, and the
//     GUI thread's CPU in that time. Ticks are seen as the timer events of
//     the sign's 100 ms timer reaching the event loop.
//  3. The pace 10 million pixels into the text (when the message is that
//     wide): 1000 ticks from there, pixels per tick against Speed / 100
//     twips.
// It ends with one line of key=value pairs, and VmRSS/VmHWM.
//
// Options: --length N (characters, default 20), --height PX (default 40),
// --width PX (default 600), --speed N (hundredths of a twip a tick, default
// 3000), --changes N (height changes measured in step 1, default 40),
// --files-only 1 (write Velmora.ini, Velmora.txt and message.utf8 into the
// current directory and end: bench/startup.sh starts the real program there).

#include "Bas_Comm.h"
#include "BenchSign.h"
#include "Twips.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

struct Options
{
    int length = 20;
    int height = 40;
    int width = 600;
    int speed = 3000;
    int changes = 40;
    int filesOnly = 0;
};

Options parseOptions(int argc, char **argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const long value = std::strtol(argv[i + 1], nullptr, 10);
        if (!std::strcmp(argv[i], "--length") && value >= 0 && value <= 1000000)
            options.length = int(value);
        else if (!std::strcmp(argv[i], "--height") && value > 0 && value < 2000)
            options.height = int(value);
        else if (!std::strcmp(argv[i], "--width") && value > 0 && value < 2000)
            options.width = int(value);
        else if (!std::strcmp(argv[i], "--speed") && value > 0 && value <= 32767)
            options.speed = int(value);
        else if (!std::strcmp(argv[i], "--changes") && value > 0)
            options.changes = int(value);
        else if (!std::strcmp(argv[i], "--files-only"))
            options.filesOnly = value != 0;
        else {
            std::fprintf(stderr, "bench_long_message: bad option %s %s\n", argv[i], argv[i + 1]);
            std::exit(2);
        }
    }
    return options;
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Notes when the sign's timer fires: its QTimer's timer events, seen by an
// application-wide filter before they reach it.
class TickWatch : public QObject
{
public:
    explicit TickWatch(int intervalMs) : m_interval(intervalMs) { m_clock.start(); }
    std::vector<double> times;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Timer) {
            const auto *timer = qobject_cast<QTimer *>(object);
            if (timer && timer->interval() == m_interval)
                times.push_back(double(m_clock.nsecsElapsed()) / 1e6);
        }
        return false;
    }

private:
    int m_interval;
    QElapsedTimer m_clock;
};

QString statusField(const char *name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    const QByteArray key = QByteArray(name) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return QString::fromLatin1(line.mid(key.size()).simplified().replace(' ', ""));
    }
    return QStringLiteral("?");
}

} // namespace

int main(int argc, char **argv)
{
    const Options options = parseOptions(argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    if (options.filesOnly) {
        const QString message = bench::mixedMessage(options.length);
        QFile utf8(QStringLiteral("message.utf8"));
        const bool written =
            bench::writeSignFiles(options.width, options.height, options.speed, message) &&
            utf8.open(QIODevice::WriteOnly) &&
            utf8.write(message.toUtf8()) == message.toUtf8().size();
        return written ? 0 : 1;
    }
    QTemporaryDir scratch;
    const QString message = bench::mixedMessage(options.length);
    if (!bench::enterScratch(scratch, options.width, options.height, options.speed, message,
                             "bench_long_message"))
        return 1;
    QApplication app(argc, argv);
    Frm_Main *shown = bench::showSign(QSize(options.width, options.height), "bench_long_message");
    if (!shown)
        return 1;
    Frm_Main &sign = *shown;
    const double tpp = runtime::twipsPerPixel();

    // 1. Height changes, one at a time, each with its repaint.
    std::vector<double> changeMs;
    for (int i = 0; i < options.changes; ++i) {
        const QSize size(options.width, options.height + (i % 2 ? 0 : 1));
        const double before = threadCpuMs();
        sign.resize(size);
        QCoreApplication::processEvents();
        sign.repaint();
        changeMs.push_back(threadCpuMs() - before);
        // Let the worker's measurement, if any, land before the next change.
        QTest::qWait(20);
    }

    // 2. A drag with the timer running.
    TickWatch watch(sign.Tim_Shift.Interval());
    app.installEventFilter(&watch);
    QTimer drag;
    int step = 0;
    QObject::connect(&drag, &QTimer::timeout, &sign, [&] {
        const int phase = step++ % 120;
        const int extra = phase < 60 ? phase : 120 - phase;
        sign.resize(options.width, options.height + extra);
    });
    const double dragCpu0 = threadCpuMs();
    sign.Tim_Shift.setEnabled(true);
    drag.start(16);
    QTest::qWait(3000);
    drag.stop();
    const double dragCpu = threadCpuMs() - dragCpu0;
    app.removeEventFilter(&watch);
    std::vector<double> gaps;
    for (std::size_t i = 1; i < watch.times.size(); ++i)
        gaps.push_back(watch.times[i] - watch.times[i - 1]);
    std::sort(gaps.begin(), gaps.end());
    const double maxGap = gaps.empty() ? 0 : gaps.back();
    const double p99Gap =
        gaps.empty() ? 0 : gaps[std::min(gaps.size() - 1, gaps.size() * 99 / 100)];

    // 3. The pace 10 million pixels into the text.
    sign.Tim_Shift.setEnabled(false);
    sign.resize(options.width, options.height);
    QCoreApplication::processEvents();
    if (!QTest::qWaitFor([&sign] { return sign.Lbl_Data.strip().isMeasured(); }, 60000)) {
        std::fprintf(stderr, "bench_long_message: the message was never measured\n");
        return 1;
    }
    const double labelPx = sign.Lbl_Data.Width() / tpp;
    constexpr double Deep = 10'000'000;
    QString pace = QStringLiteral("-");
    if (labelPx > Deep + 1000) {
        runtime::Label &label = sign.Lbl_Data;
        label.setLeft(-Deep * tpp);
        const double start = label.Left();
        constexpr int Ticks = 1000;
        for (int i = 0; i < Ticks; ++i)
            sign.Tim_Shift.fire();
        pace = QString::number((start - label.Left()) / Ticks / tpp, 'f', 6);
    }

    std::printf("long_message length=%d height=%d width=%d label_px=%.0f speed=%d "
                "change_cpu_ms_median=%.3f change_cpu_ms_max=%.3f drag_ticks=%zu "
                "drag_gap_ms_max=%.1f drag_gap_ms_p99=%.1f drag_cpu_ms=%.0f "
                "pace_px=%s pace_px_expected=%.6f rss=%s hwm=%s\n",
                options.length, options.height, options.width, labelPx, options.speed,
                bench::median(changeMs), *std::max_element(changeMs.begin(), changeMs.end()),
                watch.times.size(), maxGap, p99Gap, dragCpu, qPrintable(pace),
                options.speed / 100.0 / tpp, qPrintable(statusField("VmRSS")),
                qPrintable(statusField("VmHWM")));
    sign.Unload();
    QCoreApplication::processEvents();
    QDir::setCurrent(QDir::tempPath());
    return 0;
}
