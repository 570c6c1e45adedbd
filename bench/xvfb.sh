# SPDX-License-Identifier: MIT
# Sourced by the benchmarks: start_xvfb WORKDIR starts Xvfb (1280x1024, 96 dpi)
# on a display number nobody uses (no lock file, no socket, and the server
# stays up), sets xvfb_pid and exports DISPLAY; returns 1 when none starts.
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
