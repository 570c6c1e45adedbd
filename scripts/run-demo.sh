#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the sign in build/demo/, seeded once from examples/ so that the user's
# own edits survive the next run. Without a display, shows the sign on a
# virtual X display for a few seconds and saves a screenshot.
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

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$exe"
fi

# No display: a virtual one with a window manager, so the sign gets its frame.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
pids=()
runtime_dir=""
cleanup() {
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
pids=("$sign" "${pids[@]}")
sleep 8
if ! kill -0 "$sign" 2>/dev/null; then
    wait "$sign" || true
    echo "The sign did not start; see the message above." >&2
    exit 1
fi

shot="$demo/velmora.png"
window=$(xdotool search --onlyvisible --pid "$sign" | head -n 1)
read -r x y w h < <(xwininfo -id "$window" |
    awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}')
read -r fl fr ft fb < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
import -window root -crop "$((w + fl + fr))x$((h + ft + fb))+$((x - fl))+$((y - ft))" +repage "$shot"
echo "No display found: the sign ran on a virtual display for a few seconds."
echo "Screenshot: $shot"
