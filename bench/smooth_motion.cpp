// SPDX-License-Identifier: MIT
// bench_smooth_motion: how the message really moves on the screen, measured
// from what the sign paints over time, in smooth motion or in the designed
// 100 ms ticks.
//
// It starts the sign the way the program does (files in a scratch directory,
// Form_Load) on the platform Qt is given (offscreen unless QT_QPA_PLATFORM
// says otherwise), with the message's ticker stopped; then, for smooth motion,
// it turns the option on as the program does when velmora.conf asks for it
// (the sign's own SmoothMotion, on the real monotonic clock and a precise
// timer, its frame interval the screen's refresh interval); for the designed
// mode it starts the sign's own 100 ms timer. After a warm-up (glyph caches, the first tiles of the
// text) it records, at every paint event that reaches the sign, the time and the device pixel the
// message's left edge is drawn on (Left plus the draw offset, in twips, at the screen's scale), for
// the measured period.
//
// From those samples: the position changes a second, the largest step in
// pixels and how many steps of each size, the interval between changes (mean,
// p50, p99, max) against the ideal interval (one pixel's time at this speed,
// or the frame interval when the message moves more than a pixel a frame),
// the pace in pixels a second against Speed / 100 twips per 100 ms, the
// largest distance between the drawn pixel and a straight line fitted through
// the samples, the paints that showed no movement, and the GUI thread's CPU
// time. A wrap (the message starting again at the right edge) is counted but
// left out of the steps, the intervals and the pace. One line of key=value
// pairs.
//
// Options: --mode smooth|designed (default smooth), --speed N (hundredths of
// a twip a tick, default 3000 = 20 px/s at 96 dpi), --seconds S (measured,
// default 5), --warmup-ms N (default 1000), --length N (characters, default
// 200: wider than the distance it moves, so that the text fills the window
// and seldom wraps), --width PX (default 600), --height PX (default 40),
// --dump 1 (every sample on stderr: milliseconds and pixel).

#include "Bas_Comm.h"
#include "BenchSign.h"
#include "Percentile.h"
#include "Twips.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>

namespace {

struct Options
{
    bool smooth = true;
    int speed = 3000;
    double seconds = 5;
    int warmupMs = 1000;
    int length = 200;
    int width = 600;
    int height = 40;
    bool dump = false;
};

[[noreturn]] void usage(const char *problem, const char *option)
{
    std::fprintf(stderr,
                 "bench_smooth_motion: %s %s\n"
                 "usage: bench_smooth_motion [--mode smooth|designed] [--speed N] [--seconds S]\n"
                 "                           [--warmup-ms N] [--length N] [--width PX]\n"
                 "                           [--height PX] [--dump 1]\n",
                 problem, option);
    std::exit(2);
}

Options parseOptions(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; i += 2) {
        const char *name = argv[i];
        if (i + 1 >= argc)
            usage("no value for", name);
        const char *text = argv[i + 1];
        if (!std::strcmp(name, "--mode")) {
            if (std::strcmp(text, "smooth") && std::strcmp(text, "designed"))
                usage("unknown mode", text);
            options.smooth = !std::strcmp(text, "smooth");
            continue;
        }
        char *end = nullptr;
        const double value = std::strtod(text, &end);
        if (end == text || *end != '\0')
            usage("bad value for", name);
        if (!std::strcmp(name, "--speed") && value >= 1 && value <= 32767)
            options.speed = int(value);
        else if (!std::strcmp(name, "--seconds") && value > 0)
            options.seconds = value;
        else if (!std::strcmp(name, "--warmup-ms") && value >= 0)
            options.warmupMs = int(value);
        else if (!std::strcmp(name, "--length") && value >= 1 && value <= 100000)
            options.length = int(value);
        else if (!std::strcmp(name, "--width") && value >= 1 && value < 4000)
            options.width = int(value);
        else if (!std::strcmp(name, "--height") && value >= 1 && value < 2000)
            options.height = int(value);
        else if (!std::strcmp(name, "--dump"))
            options.dump = value != 0;
        else
            usage("bad option", name);
    }
    return options;
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Sample
{
    double ms;    // since the measurement started
    double pixel; // the device pixel the message's left edge is drawn on
};

// Records, at every paint of the sign while it is on, where the message is
// drawn.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(const Frm_Main &sign) : m_sign(sign) {}

    void begin()
    {
        samples.clear();
        m_clock.start();
        m_on = true;
    }
    void end() { m_on = false; }
    double elapsedMs() const { return double(m_clock.nsecsElapsed()) / 1e6; }

    std::vector<Sample> samples;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (m_on && event->type() == QEvent::Paint)
            samples.push_back({elapsedMs(), drawnPixel()});
        return false;
    }

private:
    double drawnPixel() const
    {
        const runtime::Label &label = m_sign.Lbl_Data;
        return std::round((label.Left() + label.drawOffset()) / runtime::twipsPerPixel() *
                          m_sign.devicePixelRatioF());
    }

    const Frm_Main &m_sign;
    QElapsedTimer m_clock;
    bool m_on = false;
};

// Runs the event loop for `ms` milliseconds. (QTest::qWait sleeps 10 ms
// between its rounds of events, which would delay the frames it measures.)
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char **argv)
{
    const Options options = parseOptions(argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir scratch;
    const QString message = bench::mixedMessage(options.length);
    if (!bench::enterScratch(scratch, options.width, options.height, options.speed, message,
                             "bench_smooth_motion"))
        return 1;
    QApplication app(argc, argv);
    Frm_Main *shown = bench::showSign(QSize(options.width, options.height), "bench_smooth_motion");
    if (!shown)
        return 1;
    Frm_Main &sign = *shown;
    if (!QTest::qWaitFor([&sign] { return sign.Lbl_Data.strip().isMeasured(); }, 60000)) {
        std::fprintf(stderr, "bench_smooth_motion: the message was never measured\n");
        return 1;
    }
    // Start from the right edge, as after any layout.
    Bas_Comm::Disp_Set();

    // Smooth motion as the program turns it on from velmora.conf: the ticker
    // stopped, the frame interval the screen's refresh interval.
    const double refreshHz = sign.screen() ? sign.screen()->refreshRate() : 0;
    const double frameMs = refreshHz > 1 ? 1000.0 / refreshHz : 1000.0 / 60;
    if (options.smooth) {
        SignOptions smooth = Bas_Comm::Options;
        smooth.smoothMotion = true;
        sign.applyOptions(smooth);
        if (!sign.Smooth_Motion.isRunning()) {
            std::fprintf(stderr, "bench_smooth_motion: smooth motion did not start\n");
            return 1;
        }
    } else {
        sign.Tim_Shift.setEnabled(true);
    }

    PaintWatch watch(sign);
    sign.installEventFilter(&watch);
    runFor(options.warmupMs);
    const double cpu0 = threadCpuMs();
    watch.begin();
    runFor(int(std::lround(options.seconds * 1000)));
    watch.end();
    const double periodMs = watch.elapsedMs();
    const double cpuMs = threadCpuMs() - cpu0;
    sign.removeEventFilter(&watch);
    sign.Smooth_Motion.stop();
    sign.Tim_Shift.setEnabled(false);

    const double tpp = runtime::twipsPerPixel();
    const double dpr = sign.devicePixelRatioF();
    // Speed / 100 twips every 100 ms.
    const double expectedPxPerS = options.speed / 100.0 / tpp * dpr * 10.0;
    const double pixelMs = 1000.0 / expectedPxPerS;
    const double idealMs = options.smooth ? std::max(pixelMs, frameMs) : 100.0;

    const std::vector<Sample> &samples = watch.samples;
    if (options.dump) {
        for (const Sample &sample : samples)
            std::fprintf(stderr, "%.3f %.0f\n", sample.ms, sample.pixel);
    }
    std::vector<double> intervals;
    std::map<int, int> stepSizes;
    int changes = 0;
    int wraps = 0;
    int stills = 0;
    int largest = 0;
    double movedPx = 0;
    double movedMs = 0;
    // Runs of samples between wraps, for the pace and the fitted line.
    std::vector<std::vector<Sample>> runs(1);
    const Sample *lastChange = nullptr;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const Sample &now = samples[i];
        if (i == 0) {
            runs.back().push_back(now);
            continue;
        }
        const Sample &before = samples[i - 1];
        const double step = before.pixel - now.pixel; // leftwards is positive
        if (step == 0) {
            ++stills;
            continue;
        }
        ++changes;
        if (step < 0) {
            // The message started again at the right edge.
            ++wraps;
            lastChange = nullptr;
            runs.emplace_back();
            runs.back().push_back(now);
            continue;
        }
        const int px = int(step);
        ++stepSizes[px];
        largest = std::max(largest, px);
        if (lastChange)
            intervals.push_back(now.ms - lastChange->ms);
        lastChange = &now;
        runs.back().push_back(now);
    }
    // The pace and the straightness of the motion, between the first and the
    // last change of each run.
    double worstOffLine = 0;
    for (const std::vector<Sample> &run : runs) {
        std::vector<Sample> moves;
        for (std::size_t i = 1; i < run.size(); ++i)
            moves.push_back(run[i]);
        if (moves.size() < 2)
            continue;
        movedPx += moves.front().pixel - moves.back().pixel;
        movedMs += moves.back().ms - moves.front().ms;
        double st = 0, sp = 0, stt = 0, stp = 0;
        for (const Sample &s : moves) {
            st += s.ms;
            sp += s.pixel;
            stt += s.ms * s.ms;
            stp += s.ms * s.pixel;
        }
        const double n = double(moves.size());
        const double slope = (n * stp - st * sp) / (n * stt - st * st);
        const double offset = (sp - slope * st) / n;
        for (const Sample &s : moves)
            worstOffLine = std::max(worstOffLine, std::abs(s.pixel - (offset + slope * s.ms)));
    }
    const double pacePxPerS = movedMs > 0 ? movedPx / movedMs * 1000.0 : 0;
    double meanMs = 0;
    for (double v : intervals)
        meanMs += v;
    meanMs = intervals.empty() ? 0 : meanMs / double(intervals.size());
    QString steps;
    for (const auto &[px, count] : stepSizes)
        steps += (steps.isEmpty() ? QString() : QStringLiteral(",")) + QString::number(px) +
                 QStringLiteral("px:") + QString::number(count);

    std::printf(
        "smooth_motion mode=%s platform=%s speed=%d width=%d height=%d dpr=%.2f refresh_hz=%.2f "
        "seconds=%.3f paints=%zu changes=%d changes_per_s=%.2f stills=%d wraps=%d "
        "largest_step_px=%d steps=%s interval_ms_mean=%.2f interval_ms_p50=%.2f "
        "interval_ms_p99=%.2f interval_ms_max=%.2f interval_ms_min=%.2f ideal_ms=%.2f "
        "p99_ratio=%.2f pace_px_s=%.3f pace_px_s_expected=%.3f off_line_px=%.2f "
        "gui_cpu_ms_per_s=%.2f\n",
        options.smooth ? "smooth" : "designed", qPrintable(QGuiApplication::platformName()),
        options.speed, sign.width(), sign.height(), dpr, refreshHz, periodMs / 1000, samples.size(),
        changes, changes / periodMs * 1000, stills, wraps, largest,
        steps.isEmpty() ? "-" : qPrintable(steps), meanMs, percentile(intervals, 0.5),
        percentile(intervals, 0.99), intervals.empty() ? 0 : percentile(intervals, 1.0),
        intervals.empty() ? 0 : *std::min_element(intervals.begin(), intervals.end()), idealMs,
        percentile(intervals, 0.99) / idealMs, pacePxPerS, expectedPxPerS, worstOffLine,
        cpuMs / periodMs * 1000);
    sign.Unload();
    QCoreApplication::processEvents();
    QDir::setCurrent(QDir::tempPath());
    return 0;
}
