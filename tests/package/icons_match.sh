#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# icons_match.sh SOURCE_DIR SCRATCH: draws the icons again from the XPM into
# SCRATCH and compares them byte for byte with the committed ones.
set -euo pipefail

source_dir=$1 scratch=$2
rm -rf "$scratch"
python3 "$source_dir/scripts/make-icons.py" "$scratch"
status=0
for drawn in "$scratch"/*; do
    committed=$source_dir/resources/icons/$(basename "$drawn")
    if ! cmp -s "$drawn" "$committed"; then
        echo "$committed differs from what scripts/make-icons.py draws from velmora.xpm"
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "$(ls "$scratch" | wc -l) icons match velmora.xpm"
exit "$status"
