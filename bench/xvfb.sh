# SPDX-License-Identifier: MIT
# Sourced by the benchmarks, which stop by process id exactly what they start.
#
# start_xvfb WORKDIR starts Xvfb (1280x1024, 96 dpi) on a display number
# nobody uses (no lock file, no socket, and the server stays up), sets
# xvfb_pid and exports DISPLAY; returns 1 when none starts.
start_xvfb() {
    local work=$1 n display=
    for n in $(seq 111 199); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -dpi 96 >"$work/xvfb.log" 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 50); do
            if ! kill -0 "$xvfb_pid" 2>/dev/null; then
                break
            fi
            if xdpyinfo -display ":$n" >/dev/null 2>&1; then
                display=":$n"
                break
            fi
            sleep 0.1
        done
        [ -n "$display" ] && break
        if kill -0 "$xvfb_pid" 2>/dev/null; then
            kill "$xvfb_pid"
        fi
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    done
    [ -n "$display" ] || return 1
    export DISPLAY=$display
}

# start_openbox WORKDIR starts openbox on $DISPLAY, sets openbox_pid and waits
# (up to 5 s) until it manages the screen.
start_openbox() {
    openbox --sm-disable >"$1/openbox.log" 2>&1 &
    openbox_pid=$!
    for _ in $(seq 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
}

# stop_pids PID... ends each of the given processes (empty ones skipped) that
# still runs, and waits for it.
stop_pids() {
    local pid
    for pid in "$@"; do
        if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
}
