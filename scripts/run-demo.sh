#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the sign in build/demo/, seeded once from examples/ so that the user's
# own edits survive the next run. Without a display, shows the sign on a
# virtual X display until the message is well in view, and saves a screenshot.
set -euo pipefail

build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$(realpath "$build/velmora")
demo=$(realpath -m "$build/demo")

mkdir -p "$demo"
for file in Velmora.ini Velmora.txt; do
    [ -e "$demo/$file" ] || cp "$root/examples/$file" "$demo/$file"
done
cd "$demo"
echo "Running the sign in ${build%/}/demo/"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$exe"
fi

# No display: a virtual one with a window manager, so the sign gets its frame.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
pids=()
sign=""
runtime_dir=""
# Whether the sign still runs (an ended child stays a zombie until waited for).
alive() {
    local state
    read -r _ _ state _ 2>/dev/null <"/proc/$sign/stat" || return 1
    [ "$state" != Z ]
}
cleanup() {
    # The sign takes SIGTERM as 終了; it ends before its display does.
    if [ -n "$sign" ] && kill "$sign" 2>/dev/null; then
        for _ in $(seq 50); do alive || break; sleep 0.1; done
        kill -KILL "$sign" 2>/dev/null || true
        wait "$sign" 2>/dev/null || true
    fi
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    [ -n "$runtime_dir" ] && rm -rf "$runtime_dir"
}
trap cleanup EXIT

Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=":$display"
runtime_dir=$(mktemp -d)
export XDG_RUNTIME_DIR="$runtime_dir"
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

"$exe" &
sign=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "$sign" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    alive || break
    sleep 0.1
done
if [ -z "$window" ]; then
    wait "$sign" || true
    echo "The sign did not start; see the message above." >&2
    exit 1
fi

# The message comes in at the right edge: wait until the text colour (line 6
# of the settings file) stands in the middle of the window, 30 seconds at
# most. With a system colour there is nothing to look for: a few seconds.
waited=0
while :; do
    answer=0
    import -window "$window" -depth 8 ppm:- 2>/dev/null |
        python3 "$root/scripts/text-in-view.py" Velmora.ini || answer=$?
    if [ "$answer" -eq 2 ]; then
        sleep 8
        break
    fi
    [ "$answer" -eq 0 ] && break
    if [ "$waited" -ge 60 ]; then
        echo "The message did not come into view within 30 seconds (a slow speed?)."
        break
    fi
    sleep 0.5
    waited=$((waited + 1))
done
if ! alive; then
    wait "$sign" || true
    echo "The sign ended early; see the message above." >&2
    exit 1
fi

shot="$demo/velmora.png"
read -r x y w h < <(xwininfo -id "$window" |
    awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}')
read -r fl fr ft fb < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
import -window root -crop "$((w + fl + fr))x$((h + ft + fb))+$((x - fl))+$((y - ft))" +repage "$shot"
echo "No display found: the sign ran on a virtual display until its message was in view."
echo "Screenshot: $shot"
