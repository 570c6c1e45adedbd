#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# How the message moves, smooth motion against the designed ticks, at speed
# 3000 (20 px/s at 96 dpi) and 30000 (200 px/s): bench_smooth_motion on Qt's
# offscreen platform and on its own Xvfb display (no window manager), client
# 600 x 40 pixels, for VELMORA_BENCH_MOTION_SECONDS each (default 10), sampled
# at every paint of the sign. Printed: position changes a second, paints a
# second (and how many of them showed no movement), the largest step and the
# steps of each size, the interval between changes (mean, p50, p99, max)
# against the ideal interval (one pixel's time, or the frame interval when
# the message moves more than a pixel a frame; 100 ms for the ticks), and the
# pace against the designed one. Goal for smooth motion: p99 at most 1.5
# times the ideal interval on an idle machine.
#
# Usage: bash bench/motion.sh [BUILD_DIR]
# Environment: VELMORA_BENCH_MOTION_SECONDS (default 10),
#   VELMORA_BENCH_MOTION_XVFB=0 (offscreen only).
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bench=$build/bench/bench_smooth_motion
seconds=${VELMORA_BENCH_MOTION_SECONDS:-10}
platforms=(offscreen)
[ "${VELMORA_BENCH_MOTION_XVFB:-1}" != 0 ] && platforms+=(xcb)
[ -x "$bench" ] || { echo "motion.sh: $bench is missing; build first" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=
source "$here/xvfb.sh"
stop() {
    stop_pids "$xvfb_pid"
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 130' INT TERM
if [[ " ${platforms[*]} " == *" xcb "* ]]; then
    start_xvfb "$work" || { echo "motion.sh: could not start Xvfb" >&2; exit 1; }
fi
unset WAYLAND_DISPLAY
export LC_ALL=C.UTF-8

value() { tr ' ' '\n' | sed -n "s/^$1=//p"; }

echo "== Motion: bench_smooth_motion, client 600 x 40 px, $seconds s a case, sampled at each paint"
printf '%-10s %-9s %-6s %-8s %-16s %-9s %-28s %-27s %-7s %-10s %s\n' platform mode px/s \
    moves/s "paints/s (still)" "max step" steps "interval ms mean/p50/p99/max" ideal p99/ideal \
    "pace px/s"
for platform in "${platforms[@]}"; do
    for speed in 3000 30000; do
        for mode in designed smooth; do
            log=$work/$platform.$mode.$speed.log
            out=$(QT_QPA_PLATFORM=$platform "$bench" --mode "$mode" --speed "$speed" \
                  --seconds "$seconds" 2>"$log") || {
                echo "motion.sh: bench_smooth_motion $platform $mode $speed failed:" >&2
                tail -n 20 "$log" >&2
                exit 1
            }
            awk -v platform="$platform" -v mode="$mode" \
                -v pxs="$(value pace_px_s_expected <<<"$out")" \
                -v moves="$(value changes_per_s <<<"$out")" \
                -v paints="$(value paints <<<"$out")" -v stills="$(value stills <<<"$out")" \
                -v secs="$(value seconds <<<"$out")" \
                -v largest="$(value largest_step_px <<<"$out")" -v steps="$(value steps <<<"$out")" \
                -v mean="$(value interval_ms_mean <<<"$out")" \
                -v p50="$(value interval_ms_p50 <<<"$out")" \
                -v p99="$(value interval_ms_p99 <<<"$out")" \
                -v max="$(value interval_ms_max <<<"$out")" \
                -v ideal="$(value ideal_ms <<<"$out")" -v ratio="$(value p99_ratio <<<"$out")" \
                -v pace="$(value pace_px_s <<<"$out")" 'BEGIN {
                goal = mode == "smooth" ? (ratio <= 1.5 ? " met" : " MISSED") : ""
                printf "%-10s %-9s %-6.0f %-8s %-16s %-9s %-28s %-27s %-7s %-10s %.2f / %.0f\n",
                    platform, mode, pxs, moves, sprintf("%.1f (%d)", paints / secs, stills),
                    largest " px", steps, mean "/" p50 "/" p99 "/" max, ideal, ratio goal, pace, pxs
            }'
        done
    done
done
echo "   ideal: 100 ms for the ticks; for smooth motion one pixel's time (50 ms at 20 px/s) or the"
echo "   frame interval (1/60 s) when the message moves more than a pixel a frame; (still) = paints"
echo "   that showed the message where the previous paint had it"
