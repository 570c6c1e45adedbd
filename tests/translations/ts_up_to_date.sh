#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Usage: ts_up_to_date.sh LUPDATE LIST-FILE TS-FILE [LUPDATE-OPTION...]
# Runs lupdate, as the velmora_lupdate target does, over the sources named in
# LIST-FILE into a copy of TS-FILE, and fails when the copy differs from the
# file (a text added, changed or removed since it was last brought up to
# date), when lupdate warns (a tr() whose context it cannot tell, which would
# then not be found at run time), or when the file holds a translation that
# is unfinished or empty.
set -euo pipefail

lupdate=$1 list=$2 ts=$3
shift 3

fail() {
    echo "FAIL: $ts: $*" >&2
    echo "Bring it up to date with: cmake --build <build directory> --target velmora_lupdate," >&2
    echo "then translate what is marked unfinished." >&2
    exit 1
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
copy=$scratch/$(basename "$ts")
cp "$ts" "$copy"

"$lupdate" -silent "$@" "@$list" -ts "$copy" 2>"$scratch/warnings" || fail "lupdate failed"
if [ -s "$scratch/warnings" ]; then
    cat "$scratch/warnings" >&2
    fail "lupdate warned about the sources"
fi
diff -u "$ts" "$copy" >&2 || fail "not what lupdate makes of the sources (the diff is above)"

unfinished=$(grep -n -B2 -E 'type="(unfinished|vanished|obsolete)"|<translation( type="[a-z]+")?>\s*</translation>|<translation/>' "$ts" || true)
[ -z "$unfinished" ] || { echo "$unfinished" >&2; fail "translations left unfinished or empty"; }
echo "$ts: up to date, every translation finished"
