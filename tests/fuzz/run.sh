#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# run.sh BUILD_DIR SECONDS: runs each fuzz target built in BUILD_DIR for
# SECONDS. Each target has its own corpus under BUILD_DIR/corpus, started from
# the sample files in examples/ and tests/data/ and kept between runs, so the
# repository itself is never written. A crash, a sanitizer report or a broken
# property fails the run: the input is kept in BUILD_DIR/crashes and the end of
# the log is printed.
set -euo pipefail
build=$(realpath "$1")
seconds=$2
root=$(cd "$(dirname "$0")/../.." && pwd)

for target in fuzz_items fuzz_cp932 fuzz_files; do
    corpus=$build/corpus/$target
    log=$build/logs/$target.log
    mkdir -p "$corpus" "$build/crashes" "$build/logs"
    # The samples, named after their folder: both folders hold a Velmora.ini.
    for seed in "$root"/examples/* "$root"/tests/data/*; do
        cp "$seed" "$corpus/$(basename "$(dirname "$seed")")-$(basename "$seed")"
    done

    if ! "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
        -artifact_prefix="$build/crashes/$target-" "$corpus" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$target: FAILED (log: $log, input kept in $build/crashes/)" >&2
        exit 1
    fi
    runs=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | tail -n 1)
    runs=${runs#Done }
    echo "$target: ${runs% second} s, no crash; corpus of $(ls "$corpus" | wc -l) inputs"
done
