#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# CPU time and memory of the real sign while it scrolls: starts build/velmora
# on its own Xvfb display under openbox with a typical sign (client area
# 600 x 40 pixels, speed 3000, a short Japanese and ASCII message), lets it
# settle, then reads the process's utime + stime from /proc/PID/stat before
# and after a measured period and prints the CPU time per minute of scrolling,
# the share of one core (goal: below 0.5 %), and VmRSS and VmHWM.
#
# Usage: bash bench/cpu_usage.sh [BUILD_DIR]
# Environment: VELMORA_BENCH_SECONDS, the measured period (default 60).
# Everything it starts (Xvfb, openbox, velmora) it stops again by process id.
set -euo pipefail

build=${1:-build}
exe=$(cd "$build" && pwd)/velmora
seconds=${VELMORA_BENCH_SECONDS:-60}
settle=3
client_w=600
client_h=40
message='本日は晴天なり。Velmora 電光掲示板 Open 10:00-19:00 ようこそ！'

for tool in Xvfb openbox xdotool xwininfo xdpyinfo xprop iconv; do
    if ! command -v "$tool" >/dev/null; then
        echo "cpu_usage.sh: $tool is not installed" >&2
        exit 1
    fi
done
if [ ! -x "$exe" ]; then
    echo "cpu_usage.sh: $exe is missing; build first" >&2
    exit 1
fi

work=$(mktemp -d)
xvfb_pid=
openbox_pid=
sign_pid=

source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
stop() {
    stop_pids "$sign_pid" "$openbox_pid" "$xvfb_pid"
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 130' INT TERM

start_xvfb "$work" || { echo "cpu_usage.sh: could not start Xvfb" >&2; exit 1; }

start_openbox "$work"

# Velmora.ini: top, left, outer width and height in twips, speed, green on
# black, message file in the current directory. The frame is added by the
# window manager; the client area is set exactly below.
{
    printf '%s\r\n' 1500 1500 $((client_w * 15)) $((client_h * 15)) 3000 65280 0 '"CurDir"'
} >"$work/Velmora.ini"
printf '"%s"\r\n' "$message" | iconv -f UTF-8 -t CP932 >"$work/Velmora.txt"

(cd "$work" && exec env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 "$exe") \
    >"$work/velmora.log" 2>&1 &
sign_pid=$!

window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "$sign_pid" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    if ! kill -0 "$sign_pid" 2>/dev/null; then
        echo "cpu_usage.sh: velmora ended:" >&2
        cat "$work/velmora.log" >&2
        exit 1
    fi
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "cpu_usage.sh: the sign window never appeared" >&2
    exit 1
fi
sleep 1
# The client area as a user would size it; the sign lays itself out again.
xdotool windowsize "$window" "$client_w" "$client_h"
sleep "$settle"
geometry=$(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')

# utime + stime of a process in clock ticks (fields 14 and 15 of its stat,
# counted after the command name, which is in parentheses).
cpu_ticks() {
    local stat
    stat=$(<"/proc/$1/stat")
    stat=${stat##*) }
    awk '{ print $12 + $13 }' <<<"$stat"
}
# The same from the scheduler, in nanoseconds, summed over the live threads.
cpu_ns() {
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'
}
now() { date +%s.%N; }

hz=$(getconf CLK_TCK)
t0=$(now)
sign0=$(cpu_ticks "$sign_pid")
signns0=$(cpu_ns "$sign_pid")
xvfb0=$(cpu_ticks "$xvfb_pid")
sleep "$seconds"
sign1=$(cpu_ticks "$sign_pid")
signns1=$(cpu_ns "$sign_pid")
xvfb1=$(cpu_ticks "$xvfb_pid")
t1=$(now)

if ! kill -0 "$sign_pid" 2>/dev/null; then
    echo "cpu_usage.sh: velmora ended during the measurement" >&2
    cat "$work/velmora.log" >&2
    exit 1
fi
status=$(<"/proc/$sign_pid/status")
rss=$(awk '/^VmRSS:/ { print $2, $3 }' <<<"$status")
hwm=$(awk '/^VmHWM:/ { print $2, $3 }' <<<"$status")
threads=$(awk '/^Threads:/ { print $2 }' <<<"$status")

# Is it really scrolling? Two captures of the window a few ticks apart differ.
moving=unknown
if command -v import >/dev/null; then
    a=$(import -window "$window" rgb:- 2>/dev/null | md5sum)
    sleep 0.35
    b=$(import -window "$window" rgb:- 2>/dev/null | md5sum)
    [ "$a" != "$b" ] && moving=yes || moving=no
fi

echo "== CPU and memory: $exe on Xvfb $DISPLAY under openbox"
echo "   client area ${geometry} px (asked ${client_w}x${client_h}), speed 3000, message of ${#message} characters"
awk -v s0="$sign0" -v s1="$sign1" -v n0="$signns0" -v n1="$signns1" -v x0="$xvfb0" -v x1="$xvfb1" \
    -v t0="$t0" -v t1="$t1" -v hz="$hz" 'BEGIN {
    elapsed = t1 - t0
    cpu = (s1 - s0) / hz
    ns = (n1 - n0) / 1e9
    xcpu = (x1 - x0) / hz
    printf "   measured %.1f s of scrolling\n", elapsed
    printf "   velmora utime+stime: %.2f s  = %.3f s per minute = %.3f %% of one core  (goal < 0.5 %%: %s)\n",
        cpu, cpu * 60 / elapsed, 100 * cpu / elapsed, (100 * cpu / elapsed < 0.5) ? "met" : "MISSED"
    printf "   velmora scheduler run time (live threads): %.3f s per minute = %.3f %% of one core\n",
        ns * 60 / elapsed, 100 * ns / elapsed
    printf "   Xvfb utime+stime (drawing what velmora sends): %.3f s per minute = %.3f %% of one core\n",
        xcpu * 60 / elapsed, 100 * xcpu / elapsed
}'
echo "   VmRSS $rss, VmHWM $hwm, $threads threads; window content changing: $moving"
