// SPDX-License-Identifier: MIT
// bench_tick_cost: what one tick of the sign costs, timer handler and repaint
// together, for one message length and one client height.
//
// It sets the sign up the way the program does (Velmora.ini and Velmora.txt in
// a scratch directory, Form_Load, Disp_Set) on Qt's offscreen platform, sizes
// the client area, times the GUI thread's share of a new message (Disp_Set with
// a new text, the message moved to the left edge, its width read, a repaint:
// its first screenful laid out and drawn; the rest is measured on a worker
// thread, which the benchmark then waits for), scrolls for a warm-up, then runs the measured ticks:
// Tim_Shift.fire() followed by a synchronous repaint(), so that every tick really paints. The speed
// moves the text a few pixels a tick, so that tiles of the text strip come into view and leave it
// during the run.
//
// Run under `valgrind --tool=callgrind --instr-atstart=no`, only the measured
// ticks are instrumented and dumped as "ticks" (and the timed layout as
// "layout"); bench/run.sh reads those dumps. Without valgrind the program prints
// wall-clock figures. Either way it ends with one line of key=value pairs.
//
// Options: --length N (characters, default 20), --height PX (client height,
// default 40), --width PX (client width, default 600), --ticks N (measured,
// default 1000), --warmup N (default 1000), --speed N (hundredths of a twip a
// tick, default 6000 = 4 px), --layout-repeats N (default 5; 1 under valgrind).

#include "Bas_Comm.h"
#include "BenchSign.h"
#include "FormInstance.h"
#include "Frm_Main.h"
#include "Program.h"
#include "Twips.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define RUNNING_ON_VALGRIND 0
#define CALLGRIND_ZERO_STATS
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#define CALLGRIND_DUMP_STATS_AT(label)
#endif

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Options
{
    int length = 20;
    int height = 40;
    int width = 600;
    int ticks = 1000;
    int warmup = 1000;
    int speed = 6000;
    int layoutRepeats = 5;
};

[[noreturn]] void usage(const char *problem)
{
    std::fprintf(stderr,
                 "bench_tick_cost: %s\n"
                 "usage: bench_tick_cost [--length N] [--height PX] [--width PX] [--ticks N]\n"
                 "                       [--warmup N] [--speed N] [--layout-repeats N]\n",
                 problem);
    std::exit(2);
}

Options parseOptions(int argc, char **argv)
{
    Options options;
    struct Item
    {
        const char *name;
        int *value;
        int least;
    };
    const Item items[] = {
        {"--length", &options.length, 0},
        {"--height", &options.height, 1},
        {"--width", &options.width, 1},
        {"--ticks", &options.ticks, 1},
        {"--warmup", &options.warmup, 0},
        {"--speed", &options.speed, -32768},
        {"--layout-repeats", &options.layoutRepeats, 1},
    };
    for (int i = 1; i < argc; ++i) {
        const Item *item = std::find_if(std::begin(items), std::end(items), [&](const Item &it) {
            return std::strcmp(it.name, argv[i]) == 0;
        });
        if (item == std::end(items))
            usage("unknown option");
        if (++i == argc)
            usage("an option lacks its value");
        char *end = nullptr;
        const long value = std::strtol(argv[i], &end, 10);
        const long most = item->value == &options.length ? 1000000 : 32767;
        if (end == argv[i] || *end != '\0' || value < item->least || value > most)
            usage("bad value");
        *item->value = int(value);
    }
    if (options.layoutRepeats > 1 && RUNNING_ON_VALGRIND)
        options.layoutRepeats = 1;
    return options;
}

// Counts the paint events that reach the sign, to show that each measured
// tick really painted.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    const Options options = parseOptions(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir scratch;
    const QString message = bench::mixedMessage(options.length);
    if (!bench::enterScratch(scratch, options.width, options.height, options.speed, message,
                             "bench_tick_cost"))
        return 1;

    QApplication app(argc, argv);

    Frm_Main *shown = bench::showSign(QSize(options.width, options.height), "bench_tick_cost");
    if (!shown)
        return 1;
    Frm_Main &sign = *shown; // the benchmark drives the ticks itself

    // A new message, as after the setup dialog, drawn at once from the left
    // edge. Two texts alternate so that each call lays the text out afresh;
    // the last one leaves the benchmark's own message in place.
    QString other = message;
    if (!other.isEmpty())
        other[other.size() - 1] = other.back() == u'X' ? u'Y' : u'X';
    std::vector<double> layoutMs;
    for (int i = 0; i < options.layoutRepeats; ++i) {
        Bas_Comm::SignSettings.DataText = other;
        Bas_Comm::Disp_Set();
        Bas_Comm::SignSettings.DataText = message;
        QElapsedTimer clock;
        CALLGRIND_ZERO_STATS;
        CALLGRIND_START_INSTRUMENTATION;
        clock.start();
        Bas_Comm::Disp_Set();
        sign.Lbl_Data.setLeft(0);
        (void)sign.Lbl_Data.Width();
        sign.repaint();
        const qint64 ns = clock.nsecsElapsed();
        CALLGRIND_STOP_INSTRUMENTATION;
        CALLGRIND_DUMP_STATS_AT("layout");
        layoutMs.push_back(double(ns) / 1e6);
    }
    // The ticks start from the right edge, as after any layout.
    Bas_Comm::Disp_Set();
    if (!QTest::qWaitFor([&sign] { return sign.Lbl_Data.strip().isMeasured(); }, 60000)) {
        std::fprintf(stderr, "bench_tick_cost: the message was never measured\n");
        return 1;
    }
    PaintCounter counter;
    sign.installEventFilter(&counter);
    const auto tick = [&sign] {
        sign.Tim_Shift.fire();
        sign.repaint();
    };

    // The warm-up fills Qt's glyph caches and the strip's tiles, so that the
    // measured ticks show the steady state rather than the first drawing of
    // each glyph.
    for (int i = 0; i < options.warmup; ++i)
        tick();

    const bool underValgrind = RUNNING_ON_VALGRIND;
    std::vector<double> tickUs;
    tickUs.reserve(std::size_t(options.ticks));
    counter.paints = 0;
    int wraps = 0;
    double movedPx = 0;
    const double tpp = runtime::twipsPerPixel();

    QElapsedTimer total;
    CALLGRIND_ZERO_STATS;
    CALLGRIND_START_INSTRUMENTATION;
    total.start();
    if (underValgrind) {
        for (int i = 0; i < options.ticks; ++i)
            tick();
    } else {
        QElapsedTimer clock;
        for (int i = 0; i < options.ticks; ++i) {
            const float before = sign.Lbl_Data.Left();
            clock.start();
            tick();
            const qint64 ns = clock.nsecsElapsed();
            tickUs.push_back(double(ns) / 1e3);
            const float after = sign.Lbl_Data.Left();
            if (after > before)
                ++wraps;
            else
                movedPx += double(before - after) / tpp;
        }
    }
    const qint64 totalNs = total.nsecsElapsed();
    CALLGRIND_STOP_INSTRUMENTATION;
    CALLGRIND_DUMP_STATS_AT("ticks");

    if (counter.paints < options.ticks) {
        std::fprintf(stderr, "bench_tick_cost: only %d paints for %d ticks\n", counter.paints,
                     options.ticks);
        return 1;
    }

    const runtime::TextStrip &strip = sign.Lbl_Data.strip();
    int ascii = 0;
    for (QChar c : message)
        ascii += c.unicode() < 0x80 ? 1 : 0;
    std::printf("tick_cost length=%d ascii=%d height=%d width=%d font_pt=%.0f label_px=%.0f "
                "strip_h_px=%.1f speed=%d warmup=%d ticks=%d paints=%d tiles_cached=%d "
                "valgrind=%d",
                options.length, ascii, sign.height(), sign.width(), sign.Lbl_Data.FontSize(),
                strip.width(), strip.height(), options.speed, options.warmup, options.ticks,
                counter.paints, strip.cachedTileCount(), underValgrind ? 1 : 0);
    std::printf(" layout_ms_median=%.3f layout_ms_min=%.3f total_ms=%.3f", bench::median(layoutMs),
                *std::min_element(layoutMs.begin(), layoutMs.end()), double(totalNs) / 1e6);
    if (!underValgrind) {
        const double mean = double(totalNs) / 1e3 / options.ticks;
        const int slowest = int(std::max_element(tickUs.begin(), tickUs.end()) - tickUs.begin());
        std::sort(tickUs.begin(), tickUs.end());
        const double p99 = tickUs[std::min(tickUs.size() - 1, tickUs.size() * 99 / 100)];
        std::printf(" us_per_tick_mean=%.2f us_per_tick_median=%.2f us_per_tick_p99=%.2f "
                    "us_per_tick_max=%.2f slowest_tick=%d moved_px=%.0f wraps=%d",
                    mean, bench::median(tickUs), p99, tickUs.back(), slowest, movedPx, wraps);
    }
    std::printf("\n");

    sign.removeEventFilter(&counter);
    sign.Unload();
    QCoreApplication::processEvents();
    QDir::setCurrent(QDir::tempPath());
    return 0;
}
