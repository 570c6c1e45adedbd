#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the sign's benchmarks and prints their figures (`make bench` calls it as
# `bash bench/run.sh build`):
#
#  1. Tick cost (bench_tick_cost, offscreen): instructions per tick, timer
#     handler plus repaint, counted by callgrind for a 20-character and a
#     100,000-character message at a 40 and a 200 pixel client height, with the
#     long/short ratio at each height (goal: below 1.5); wall-clock microseconds
#     per tick without valgrind; the GUI thread's time and instructions for a
#     new long message (Disp_Set, then its first screenful drawn).
#  2. Long messages (bench_long_message, offscreen), for 20, 100,000 and
#     1,000,000 characters at a 40 and a 400 pixel client height: the GUI
#     thread's CPU per height change (goal: below 16 ms), the longest gap
#     between two ticks while the height is dragged (goal: 120 ms at most),
#     the pace 10 million pixels into the text, and the memory.
#  3. Start-up to the mapped window against a bare Qt window (bench/startup.sh,
#     Xvfb; goals: 1.2x the floor at 20 characters, 1.5x at 1,000,000).
#  4. CPU and memory of the real program scrolling on Xvfb (bench/cpu_usage.sh).
#  5. How the message moves, smooth motion against the designed ticks, at 20
#     and 200 px/s (bench/motion.sh: bench_smooth_motion offscreen and on
#     Xvfb; goal: the interval between steps at p99 at most 1.5x the ideal).
#  6. The real program's CPU in smooth motion against the designed ticks and
#     against a bare Qt window moving the same text at the same rate, at 20
#     and 200 px/s (bench/smooth_cpu.sh, Xvfb; goals at 20 px/s: at most 2.5x
#     the designed ticks, at most the floor).
#
# Environment:
#   VELMORA_BENCH_TICKS           measured ticks per case (default 1000)
#   VELMORA_BENCH_WARMUP          warm-up ticks per case (default 1000)
#   VELMORA_BENCH_SPEED           hundredths of a twip a tick (default 6000, 4 px)
#   VELMORA_BENCH_SKIP_CALLGRIND  1: no callgrind runs
#   VELMORA_BENCH_SKIP_WALL       1: no wall-clock runs
#   VELMORA_BENCH_SKIP_LONG       1: no long-message runs
#   VELMORA_BENCH_SKIP_STARTUP    1: no start-up runs
#   VELMORA_BENCH_RUNS            start-up runs per case (default 7)
#   VELMORA_BENCH_SKIP_CPU        1: no scrolling run on Xvfb
#   VELMORA_BENCH_SECONDS         scrolling time measured on Xvfb (default 60)
#   VELMORA_BENCH_SKIP_MOTION     1: no motion runs
#   VELMORA_BENCH_MOTION_SECONDS  time sampled per motion case (default 10)
#   VELMORA_BENCH_MOTION_XVFB     0: motion runs offscreen only
#   VELMORA_BENCH_SKIP_SMOOTH_CPU 1: no smooth motion CPU runs
#   VELMORA_BENCH_SMOOTH_SECONDS  time measured per smooth motion CPU case and
#                                 round (default 15)
#   VELMORA_BENCH_SMOOTH_ROUNDS   rounds of those cases (default 2)
#   VELMORA_BENCH_SMOOTH_WATCH    seconds of the window's pixels read after
#                                 each case (default 3; 0: none)
#   VELMORA_BENCH_ANNOTATE        1: print callgrind_annotate's top functions
#                                 for every case
# The callgrind files stay in BUILD/bench/results for callgrind_annotate.
set -euo pipefail

build=${1:-build}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bench=$(cd "$build" && pwd)/bench/bench_tick_cost
results=$(cd "$build" && pwd)/bench/results

ticks=${VELMORA_BENCH_TICKS:-1000}
warmup=${VELMORA_BENCH_WARMUP:-1000}
speed=${VELMORA_BENCH_SPEED:-6000}
lengths=(20 100000)
heights=(40 200)

if [ ! -x "$bench" ]; then
    echo "run.sh: $bench is missing; build first" >&2
    exit 1
fi
mkdir -p "$results"

# field LINE KEY: the value of KEY=VALUE in a result line.
field() {
    local pair
    for pair in $1; do
        if [ "${pair%%=*}" = "$2" ]; then
            echo "${pair#*=}"
            return
        fi
    done
    echo "?"
}

# The "totals:" of the callgrind dump whose trigger is the client request LABEL.
dump_total() {
    local base=$1 label=$2 file
    for file in "$base".*; do
        if grep -q "^desc: Trigger: Client Request: $label\$" "$file"; then
            awk '/^totals:/ { print $2 }' "$file"
            return
        fi
    done
    echo "?"
}

declare -A ir wall layout_ms layout_ir line

run_case() {
    local length=$1 height=$2 mode=$3 out
    local args=(--length "$length" --height "$height" --ticks "$ticks" --warmup "$warmup"
                --speed "$speed")
    local tag=len$length.h$height
    if [ "$mode" = callgrind ]; then
        local base=$results/callgrind.$tag
        rm -f "$base" "$base".*
        if ! out=$(valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$base" \
                   "$bench" "${args[@]}" 2>"$results/valgrind.$tag.log"); then
            echo "run.sh: callgrind run $tag failed:" >&2
            tail -n 20 "$results/valgrind.$tag.log" >&2
            return 1
        fi
        local total
        total=$(dump_total "$base" ticks)
        ir[$tag]=$(awk -v t="$total" -v n="$ticks" 'BEGIN { printf "%.0f", t / n }')
        layout_ir[$tag]=$(dump_total "$base" layout)
    else
        if ! out=$("$bench" "${args[@]}" 2>"$results/wall.$tag.log"); then
            echo "run.sh: run $tag failed:" >&2
            tail -n 20 "$results/wall.$tag.log" >&2
            return 1
        fi
        wall[$tag]=$(field "$out" us_per_tick_mean)/$(field "$out" us_per_tick_median)/$(field "$out" us_per_tick_p99)
        layout_ms[$tag]=$(field "$out" layout_ms_median)
    fi
    line[$tag]=$out
}

echo "== Tick cost: Tim_Shift.fire() + repaint(), offscreen, client 600 x H px"
echo "   $ticks measured ticks after $warmup warm-up ticks, speed $speed ($(awk -v s="$speed" 'BEGIN { printf "%.1f", s / 100 / 15 }') px a tick)"

if [ "${VELMORA_BENCH_SKIP_CALLGRIND:-0}" != 1 ]; then
    for height in "${heights[@]}"; do
        for length in "${lengths[@]}"; do
            run_case "$length" "$height" callgrind
        done
    done
fi
if [ "${VELMORA_BENCH_SKIP_WALL:-0}" != 1 ]; then
    for height in "${heights[@]}"; do
        for length in "${lengths[@]}"; do
            run_case "$length" "$height" wall
        done
    done
fi

echo
printf '%-8s %-8s %-10s %-9s %-16s %-26s\n' height length label_px font_pt "Ir/tick" "us/tick mean/median/p99"
for height in "${heights[@]}"; do
    for length in "${lengths[@]}"; do
        tag=len$length.h$height
        printf '%-8s %-8s %-10s %-9s %-16s %-26s\n' "$height" "$length" \
            "$(field "${line[$tag]:-}" label_px)" "$(field "${line[$tag]:-}" font_pt)" \
            "${ir[$tag]:--}" "${wall[$tag]:--}"
    done
done

if [ "${VELMORA_BENCH_SKIP_CALLGRIND:-0}" != 1 ]; then
    echo
    echo "Long/short ratio of instructions per tick (goal < 1.5):"
    for height in "${heights[@]}"; do
        short=${ir[len${lengths[0]}.h$height]}
        long=${ir[len${lengths[1]}.h$height]}
        awk -v h="$height" -v s="$short" -v l="$long" 'BEGIN {
            r = l / s
            printf "  %3d px: %.2f  %s\n", h, r, r < 1.5 ? "met" : "MISSED"
        }'
    done
fi

echo
echo "GUI thread's share of a new ${lengths[1]}-character message (Disp_Set, first screenful drawn):"
for height in "${heights[@]}"; do
    tag=len${lengths[1]}.h$height
    printf '  %3d px: %s ms (median of 5, wall clock), %s instructions\n' "$height" \
        "${layout_ms[$tag]:--}" "${layout_ir[$tag]:--}"
done

if [ "${VELMORA_BENCH_ANNOTATE:-0}" = 1 ] && [ "${VELMORA_BENCH_SKIP_CALLGRIND:-0}" != 1 ]; then
    for height in "${heights[@]}"; do
        for length in "${lengths[@]}"; do
            tag=len$length.h$height
            for file in "$results/callgrind.$tag".*; do
                grep -q '^desc: Trigger: Client Request: ticks$' "$file" || continue
                echo
                echo "== callgrind_annotate, $tag, measured ticks (exclusive)"
                callgrind_annotate "$file" 2>/dev/null | sed -n '/file:function/,$p' | sed -n '3,17p'
            done
        done
    done
fi
echo
echo "Callgrind files: $results/callgrind.*"

if [ "${VELMORA_BENCH_SKIP_LONG:-0}" != 1 ]; then
    echo
    echo "== Long messages: bench_long_message, offscreen, client 600 x H px, speed 3000 (2 px a tick)"
    printf '%-8s %-7s %-11s %-22s %-20s %-12s %-11s\n' length height label_px \
        "change_cpu_ms med/max" "drag_gap_ms max/p99" "pace_px@10M" rss
    for length in 20 100000 1000000; do
        for height in 40 400; do
            out=$("$(dirname "$bench")/bench_long_message" --length "$length" --height "$height" \
                  2>"$results/long.len$length.h$height.log") || {
                echo "run.sh: bench_long_message $length $height failed:" >&2
                tail -n 20 "$results/long.len$length.h$height.log" >&2
                exit 1
            }
            printf '%-8s %-7s %-11s %-22s %-20s %-12s %-11s\n' "$length" "$height" \
                "$(field "$out" label_px)" \
                "$(field "$out" change_cpu_ms_median)/$(field "$out" change_cpu_ms_max)" \
                "$(field "$out" drag_gap_ms_max)/$(field "$out" drag_gap_ms_p99)" \
                "$(field "$out" pace_px)" "$(field "$out" rss)"
        done
    done
    echo "   pace expected: 2.000000 px a tick (speed 3000 = 30 twips = 2 px at 96 dpi)"
fi

if [ "${VELMORA_BENCH_SKIP_STARTUP:-0}" != 1 ]; then
    echo
    bash "$here/startup.sh" "$build"
fi

if [ "${VELMORA_BENCH_SKIP_CPU:-0}" != 1 ]; then
    echo
    bash "$here/cpu_usage.sh" "$build"
fi

if [ "${VELMORA_BENCH_SKIP_MOTION:-0}" != 1 ]; then
    echo
    bash "$here/motion.sh" "$build"
fi

if [ "${VELMORA_BENCH_SKIP_SMOOTH_CPU:-0}" != 1 ]; then
    echo
    bash "$here/smooth_cpu.sh" "$build"
fi
