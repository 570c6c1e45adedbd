#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up of the real sign against the floor (bench_floor_window: a bare Qt
# window showing the same message at the same size), on a fresh Xvfb display
# with no window manager: for messages of 20, 100,000 and 1,000,000
# characters at a client height of 40 and 400 pixels, the median time from
# starting the program to its window being mapped (bench_map_time), over
# VELMORA_BENCH_RUNS runs each (default 7, sign and floor alternating), the
# ratio sign/floor, and the sign's VmRSS and VmHWM 1.5 s after mapping.
#
# Usage: bash bench/startup.sh [BUILD_DIR]
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
runs=${VELMORA_BENCH_RUNS:-7}
for tool in "$build/velmora" "$build/bench/bench_map_time" "$build/bench/bench_floor_window" \
            "$build/bench/bench_long_message"; do
    [ -x "$tool" ] || { echo "startup.sh: $tool is missing; build first" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=
source "$here/xvfb.sh"
stop() {
    stop_pids "$xvfb_pid"
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 130' INT TERM
start_xvfb "$work" || { echo "startup.sh: could not start Xvfb" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
value() { tr ' ' '\n' | sed -n "s/^$1=//p"; }

echo "== Start-up to the mapped window: Xvfb $DISPLAY, no window manager, client 600 x H px"
echo "   median of $runs runs; floor = a bare Qt window showing the same message"
printf '%-8s %-7s %-10s %-10s %-7s %-12s %-12s\n' length height sign_ms floor_ms ratio rss_kb hwm_kb
for length in 20 100000 1000000; do
    for height in 40 400; do
        dir=$work/len$length.h$height
        mkdir -p "$dir"
        (cd "$dir" && "$build/bench/bench_long_message" --files-only 1 --length "$length" \
            --height "$height" --width 600)
        : >"$dir/sign" && : >"$dir/floor"
        for _ in $(seq "$runs"); do
            (cd "$dir" && "$build/bench/bench_map_time" -- "$build/velmora") >>"$dir/sign"
            "$build/bench/bench_map_time" -- "$build/bench/bench_floor_window" 600 "$height" \
                "$dir/message.utf8" >>"$dir/floor"
        done
        sign=$(value map_ms <"$dir/sign" | median)
        floor=$(value map_ms <"$dir/floor" | median)
        rss=$(value rss_kb <"$dir/sign" | median)
        hwm=$(value hwm_kb <"$dir/sign" | median)
        printf '%-8s %-7s %-10s %-10s %-7s %-12s %-12s\n' "$length" "$height" "$sign" "$floor" \
            "$(awk -v s="$sign" -v f="$floor" 'BEGIN { printf "%.2f", s / f }')" "$rss" "$hwm"
    done
done
