#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# CPU time of the real sign in smooth motion against its designed 100 ms
# ticks and against the floor: on one Xvfb display under openbox, a sign of
# 600 x 40 pixels (client area) with cpu_usage.sh's message, at speed 3000
# (20 px/s at 96 dpi) and 30000 (200 px/s), each in three cases:
#
#   designed  build/velmora as it is, ten ticks a second;
#   smooth    build/velmora with velmora.conf saying smooth_motion=true;
#   floor     bench_floor_window: a bare Qt window of the same size showing the
#             same text in the same font, moved one pixel at a time at the
#             same pace and repainted at the same rate as smooth motion (every
#             50 ms at 20 px/s, every frame at 200 px/s).
#
# Each case runs on its own, settles, and is measured for
# VELMORA_BENCH_SMOOTH_SECONDS (default 15) in each of VELMORA_BENCH_SMOOTH_ROUNDS
# rounds (default 2; the cases take turns, so that a busy moment of the
# machine falls on all of them). CPU time is the scheduler's run time of the
# process's threads (/proc/PID/task/*/schedstat, in nanoseconds); Xvfb's
# share, drawing what the program sends, is shown beside it. After the
# measurement bench_frame_watch reads the window's pixels for
# VELMORA_BENCH_SMOOTH_WATCH seconds (default 3; 0: not at all) to show that
# the case moves as it should (changes a second, the largest step); its own
# cost is not in the figures.
#
# The table: case, speed, CPU seconds a minute, per cent of one core, the
# ratio to the designed ticks and to the floor at the same speed, Xvfb's CPU,
# and what the watch saw. Goals at 20 px/s: smooth at most 2.5 times the
# designed ticks, and at most the floor.
#
# Usage: bash bench/smooth_cpu.sh [BUILD_DIR]
# Everything it starts (Xvfb, openbox, the programs) it stops again by
# process id.
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exe=$build/velmora
floor=$build/bench/bench_floor_window
watcher=$build/bench/bench_frame_watch
seconds=${VELMORA_BENCH_SMOOTH_SECONDS:-15}
rounds=${VELMORA_BENCH_SMOOTH_ROUNDS:-2}
watch_seconds=${VELMORA_BENCH_SMOOTH_WATCH:-3}
settle=3
client_w=600
client_h=40
speeds=(3000 30000)
kinds=(designed smooth floor)
message='本日は晴天なり。Velmora 電光掲示板 Open 10:00-19:00 ようこそ！'

for tool in Xvfb openbox xdotool xwininfo xdpyinfo xprop iconv; do
    if ! command -v "$tool" >/dev/null; then
        echo "smooth_cpu.sh: $tool is not installed" >&2
        exit 1
    fi
done
for program in "$exe" "$floor" "$watcher"; do
    [ -x "$program" ] || { echo "smooth_cpu.sh: $program is missing; build first" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=
openbox_pid=
app_pid=

source "$here/xvfb.sh"
stop_app() {
    stop_pids "$app_pid"
    app_pid=
}
stop() {
    stop_pids "$app_pid" "$openbox_pid" "$xvfb_pid"
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 130' INT TERM

start_xvfb "$work" || { echo "smooth_cpu.sh: could not start Xvfb" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY

start_openbox "$work"

# The scheduler's run time of a process, in nanoseconds, summed over its
# live threads.
cpu_ns() {
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'
}
now_ns() { date +%s%N; }
value() { tr ' ' '\n' | sed -n "s/^$1=//p"; }

# Velmora.ini (top, left, outer width and height in twips, speed, green on
# black, message file in the current directory), Velmora.txt, and for smooth
# motion velmora.conf, in DIR.
write_sign() {
    local dir=$1 speed=$2 smooth=$3
    mkdir -p "$dir"
    printf '%s\r\n' 1500 1500 $((client_w * 15)) $((client_h * 15)) "$speed" 65280 0 '"CurDir"' \
        >"$dir/Velmora.ini"
    printf '"%s"\r\n' "$message" | iconv -f UTF-8 -t CP932 >"$dir/Velmora.txt"
    if [ "$smooth" = 1 ]; then
        printf '[sign]\nsmooth_motion=true\n' >"$dir/velmora.conf"
    fi
    printf '%s' "$message" >"$dir/message.utf8"
}

declare -A used_ns elapsed_ns xvfb_ns seen per_round

# run_case KIND SPEED ROUND: one measured period of one case.
run_case() {
    local kind=$1 speed=$2 round=$3 dir=$work/$1.$2 window= t0 t1 a0 a1 x0 x1
    case $kind in
        designed) write_sign "$dir" "$speed" 0 ;;
        smooth) write_sign "$dir" "$speed" 1 ;;
        floor) write_sign "$dir" "$speed" 0 ;;
    esac
    if [ "$kind" = floor ]; then
        # Speed / 100 twips every 100 ms, at 15 twips a pixel.
        "$floor" "$client_w" "$client_h" "$dir/message.utf8" "$((speed / 150))" \
            >"$dir/app.log" 2>&1 &
    else
        (cd "$dir" && exec "$exe") >"$dir/app.log" 2>&1 &
    fi
    app_pid=$!
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        if ! kill -0 "$app_pid" 2>/dev/null; then
            echo "smooth_cpu.sh: $kind at $speed ended:" >&2
            cat "$dir/app.log" >&2
            exit 1
        fi
        sleep 0.1
    done
    if [ -z "$window" ]; then
        echo "smooth_cpu.sh: the $kind window never appeared" >&2
        exit 1
    fi
    sleep 1
    xdotool windowsize "$window" "$client_w" "$client_h"
    sleep "$settle"
    local geometry
    geometry=$(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    if [ "$geometry" != "${client_w}x${client_h}" ]; then
        echo "smooth_cpu.sh: the $kind window is $geometry, not ${client_w}x${client_h}" >&2
        exit 1
    fi

    t0=$(now_ns)
    a0=$(cpu_ns "$app_pid")
    x0=$(cpu_ns "$xvfb_pid")
    sleep "$seconds"
    a1=$(cpu_ns "$app_pid")
    x1=$(cpu_ns "$xvfb_pid")
    t1=$(now_ns)
    if ! kill -0 "$app_pid" 2>/dev/null; then
        echo "smooth_cpu.sh: $kind at $speed ended during the measurement:" >&2
        cat "$dir/app.log" >&2
        exit 1
    fi
    local tag=$kind.$speed
    used_ns[$tag]=$((${used_ns[$tag]:-0} + a1 - a0))
    xvfb_ns[$tag]=$((${xvfb_ns[$tag]:-0} + x1 - x0))
    elapsed_ns[$tag]=$((${elapsed_ns[$tag]:-0} + t1 - t0))
    per_round[$tag.$round]=$(awk -v a=$((a1 - a0)) -v t=$((t1 - t0)) 'BEGIN { print a / t }')
    if [ "$watch_seconds" != 0 ] && [ -z "${seen[$tag]:-}" ]; then
        seen[$tag]=$("$watcher" --seconds "$watch_seconds" "$window" 2>>"$dir/watch.log" || true)
    fi
    stop_app
}

echo "== Smooth motion's CPU: Xvfb $DISPLAY under openbox, client ${client_w} x ${client_h} px"
echo "   $rounds x $seconds s a case; CPU = scheduler run time of the process's threads"
for round in $(seq "$rounds"); do
    for speed in "${speeds[@]}"; do
        for kind in "${kinds[@]}"; do
            run_case "$kind" "$speed" "$round"
        done
    done
done

printf '%-9s %-7s %-9s %-8s %-11s %-9s %-12s %-9s %-9s\n' case px/s "CPU s/min" "% core" \
    "x designed" "x floor" "Xvfb s/min" "moves/s" "max step"
for speed in "${speeds[@]}"; do
    for kind in "${kinds[@]}"; do
        tag=$kind.$speed
        watch=${seen[$tag]:-}
        awk -v kind="$kind" -v pxs="$((speed / 150))" -v used="${used_ns[$tag]}" \
            -v el="${elapsed_ns[$tag]}" -v x="${xvfb_ns[$tag]}" \
            -v dused="${used_ns[designed.$speed]}" -v del="${elapsed_ns[designed.$speed]}" \
            -v fused="${used_ns[floor.$speed]}" -v fel="${elapsed_ns[floor.$speed]}" \
            -v moves="$(value changes_per_s <<<"$watch")" \
            -v step="$(value largest_step_px <<<"$watch")" 'BEGIN {
            perMin = used / el * 60
            dPerMin = dused / del * 60
            fPerMin = fused / fel * 60
            printf "%-9s %-7s %-9.3f %-8.3f %-11.2f %-9s %-12.3f %-9s %-9s\n", kind, pxs, perMin,
                100 * used / el, perMin / dPerMin,
                kind == "floor" ? "1" : sprintf("%.2f", perMin / fPerMin), x / el * 60,
                moves == "" ? "-" : moves, step == "" ? "-" : step " px"
        }'
    done
done
awk -v s="${used_ns[smooth.3000]}" -v se="${elapsed_ns[smooth.3000]}" \
    -v d="${used_ns[designed.3000]}" -v de="${elapsed_ns[designed.3000]}" \
    -v f="${used_ns[floor.3000]}" -v fe="${elapsed_ns[floor.3000]}" 'BEGIN {
    rd = (s / se) / (d / de)
    rf = (s / se) / (f / fe)
    printf "   at 20 px/s: smooth / designed %.2f (goal at most 2.5: %s), smooth / floor %.2f (goal at most 1: %s)\n",
        rd, rd <= 2.5 ? "met" : "MISSED", rf, rf <= 1 ? "met" : "MISSED"
}'
# The same ratios round by round: how much they vary on this machine.
for speed in "${speeds[@]}"; do
    for round in $(seq "$rounds"); do
        echo "${per_round[smooth.$speed.$round]} ${per_round[designed.$speed.$round]} ${per_round[floor.$speed.$round]}"
    done | awk -v pxs="$((speed / 150))" '
        { d = $1 / $2; f = $1 / $3
          if (NR == 1 || d < dmin) dmin = d; if (NR == 1 || d > dmax) dmax = d
          if (NR == 1 || f < fmin) fmin = f; if (NR == 1 || f > fmax) fmax = f }
        END { printf "   at %d px/s, round by round: smooth / designed %.2f to %.2f, smooth / floor %.2f to %.2f\n",
                  pxs, dmin, dmax, fmin, fmax }'
done
if [ "$watch_seconds" != 0 ]; then
    echo "   moves/s and max step: bench_frame_watch, ${watch_seconds} s of the window's pixels after the measurement"
    # Smooth motion moves at least twice as often as the ticks; if it does not,
    # velmora.conf had no effect.
    for speed in "${speeds[@]}"; do
        s=$(value changes_per_s <<<"${seen[smooth.$speed]:-}")
        if [ -n "$s" ] && awk -v s="$s" 'BEGIN { exit !(s < 15) }'; then
            echo "   WARNING: smooth at speed $speed moved only $s times a second: is smooth motion in effect?"
        fi
    done
fi
