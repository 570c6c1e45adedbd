// SPDX-License-Identifier: MIT
// bench_frame_watch: how a scrolling window's content moves, seen from outside
// the program on the X display. It reads the window's pixels over and over
// (GetImage, as fast as the server answers, a sample every millisecond or
// so), and each time they differ from the last sample it works out how far
// the content moved: the horizontal shift that makes the two samples' column
// sums agree best. A move to the right (the text starting again at the right
// edge) is a wrap, counted apart.
//
// It prints one line of key=value pairs: samples a second, changes a second,
// the largest step and how many steps of each size, the interval between
// changes (mean, p50, p99, max; a sample's time is halfway between its
// request and its reply), and the pace in pixels a second. Reading the pixels
// costs the server and this program CPU of their own, so it is not run while
// CPU time is measured.
//
// Usage: bench_frame_watch [--seconds S] WINDOW-ID

#include "Percentile.h"
#include <xcb/xcb.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The shift s (columns) for which after[x] == before[x + s] fits best, for s
// from -most to most; the mean absolute difference over the overlap in `fit`.
int bestShift(const std::vector<long> &before, const std::vector<long> &after, int most,
              double &fit)
{
    const int width = int(before.size());
    int best = 0;
    fit = std::numeric_limits<double>::max();
    for (int s = -most; s <= most; ++s) {
        long sum = 0;
        int count = 0;
        for (int x = std::max(0, -s); x < width && x + s < width; ++x) {
            sum += std::labs(after[std::size_t(x)] - before[std::size_t(x + s)]);
            ++count;
        }
        if (count < width / 2)
            continue;
        const double mean = double(sum) / count;
        // The smallest shift wins a tie.
        if (mean < fit || (mean == fit && std::abs(s) < std::abs(best))) {
            fit = mean;
            best = s;
        }
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    double seconds = 5;
    int i = 1;
    for (; i + 1 < argc && argv[i][0] == '-'; i += 2) {
        if (!std::strcmp(argv[i], "--seconds"))
            seconds = std::atof(argv[i + 1]);
        else
            break;
    }
    if (i != argc - 1 || seconds <= 0) {
        std::fprintf(stderr, "usage: bench_frame_watch [--seconds S] WINDOW-ID\n");
        return 2;
    }
    const auto window = xcb_window_t(std::strtoul(argv[i], nullptr, 0));

    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "bench_frame_watch: cannot open the display\n");
        return 1;
    }
    xcb_get_geometry_reply_t *geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!geometry) {
        std::fprintf(stderr, "bench_frame_watch: no window %s\n", argv[i]);
        return 1;
    }
    const int width = geometry->width;
    const int height = geometry->height;
    std::free(geometry);

    struct Change
    {
        double ms;
        int shift; // leftwards is positive
    };
    std::vector<Change> changes;
    std::vector<std::uint8_t> last;
    std::vector<long> lastColumns(std::size_t(width), 0);
    std::vector<long> columns(std::size_t(width), 0);
    long samples = 0;
    long unmatched = 0;
    const double start = nowMs();
    while (nowMs() - start < seconds * 1000) {
        const double asked = nowMs();
        xcb_get_image_reply_t *image =
            xcb_get_image_reply(connection,
                                xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                              std::uint16_t(width), std::uint16_t(height), ~0u),
                                nullptr);
        const double answered = nowMs();
        if (!image) {
            std::fprintf(stderr, "bench_frame_watch: cannot read the window's pixels\n");
            return 1;
        }
        const std::uint8_t *data = xcb_get_image_data(image);
        const int length = xcb_get_image_data_length(image);
        const int stride = length / height;
        const int bytesPerPixel = stride / width;
        ++samples;
        if (last.size() == std::size_t(length) &&
            std::memcmp(last.data(), data, last.size()) == 0) {
            std::free(image);
            continue;
        }
        std::fill(columns.begin(), columns.end(), 0);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t *row = data + std::ptrdiff_t(y) * stride;
            for (int x = 0; x < width; ++x) {
                long sum = 0;
                for (int b = 0; b < std::min(bytesPerPixel, 3); ++b)
                    sum += row[x * bytesPerPixel + b];
                columns[std::size_t(x)] += sum;
            }
        }
        if (!last.empty()) {
            double fit = 0;
            const int shift = bestShift(lastColumns, columns, 64, fit);
            if (fit > 0)
                ++unmatched;
            changes.push_back({(asked + answered) / 2 - start, shift});
        }
        last.assign(data, data + length);
        lastColumns.swap(columns);
        std::free(image);
    }
    const double elapsed = nowMs() - start;
    xcb_disconnect(connection);

    std::vector<double> intervals;
    std::map<int, int> steps;
    int wraps = 0;
    int largest = 0;
    double moved = 0;
    double lastMs = -1;
    for (std::size_t k = 0; k < changes.size(); ++k) {
        const Change &change = changes[k];
        if (change.shift <= 0) {
            // A wrap, or a change that is no move: the next interval starts here.
            ++wraps;
            lastMs = -1;
            continue;
        }
        ++steps[change.shift];
        largest = std::max(largest, change.shift);
        if (lastMs >= 0) {
            intervals.push_back(change.ms - lastMs);
            moved += change.shift;
        }
        lastMs = change.ms;
    }
    double total = 0;
    for (double v : intervals)
        total += v;
    std::string stepText;
    for (const auto &[px, count] : steps)
        stepText +=
            (stepText.empty() ? "" : ",") + std::to_string(px) + "px:" + std::to_string(count);
    std::printf("frame_watch width=%d height=%d seconds=%.3f samples_per_s=%.1f changes=%zu "
                "changes_per_s=%.2f wraps=%d unmatched=%ld largest_step_px=%d steps=%s "
                "interval_ms_mean=%.2f interval_ms_p50=%.2f interval_ms_p99=%.2f "
                "interval_ms_max=%.2f pace_px_s=%.2f\n",
                width, height, elapsed / 1000, double(samples) / elapsed * 1000, changes.size(),
                double(changes.size()) / elapsed * 1000, wraps, unmatched, largest,
                stepText.empty() ? "-" : stepText.c_str(),
                intervals.empty() ? 0 : total / double(intervals.size()),
                percentile(intervals, 0.5), percentile(intervals, 0.99), percentile(intervals, 1.0),
                total > 0 ? moved / total * 1000 : 0);
    return 0;
}
