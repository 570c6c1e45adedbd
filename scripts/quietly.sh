#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# quietly.sh LOG MESSAGE COMMAND: says "MESSAGE… done" around a shell COMMAND
# whose own output goes to LOG. On failure it says "failed", shows the end of
# LOG and exits with COMMAND's status, so a broken build still explains itself.
set -uo pipefail

log=$1 message=$2 command=$3
mkdir -p "$(dirname "$log")"
printf '%s… ' "$message"
start=$SECONDS
bash -c "$command" >>"$log" 2>&1
status=$?
if [ "$status" -eq 0 ]; then
    echo "done ($((SECONDS - start)) s)"
    exit 0
fi
echo "failed (exit status $status); the end of $log:"
tail -n 30 "$log" | sed 's/^/    /'
exit "$status"
