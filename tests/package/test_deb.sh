#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# test_deb.sh SOURCE_DIR SCRATCH APP_ID VERSION: makes the Debian package as
# `make package` does, in SCRATCH (never the build directory it is run from),
# and checks it: lintian finds no error, the metainfo, desktop entry and icons
# agree, the changelog is for this version. As root it then installs it with
# dpkg, runs the installed program, checks the installed files and removes it.
# Exits 77 (skipped) where it cannot install.
set -euo pipefail

source_dir=$1 scratch=$2 app_id=$3 version=$4
fail() { echo "FAIL: $*"; exit 1; }

bash "$source_dir/scripts/build-release.sh" "$scratch" --deb
deb=$(ls "$scratch"/velmora_*.deb)

echo "--- lintian"
lintian --fail-on error "$deb" || fail "lintian reports errors"

echo "--- contents"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
dpkg-deb -f "$deb" Depends | grep -q 'fonts-ipafont-gothic' || fail "Depends lacks the font"
tree=$scratch/contents
rm -rf "$tree"
dpkg-deb -x "$deb" "$tree"
zcat "$tree/usr/share/doc/velmora/changelog.gz" | head -n 1 | grep -q "^velmora ($version) " ||
    fail "the changelog's newest entry is not for $version"
# The metainfo's launchable must name the installed desktop entry, and its
# icon must be in the theme: validate-tree checks the tree as installed.
appstreamcli validate-tree --no-net "$tree" || fail "appstreamcli validate-tree"

if [ "$(id -u)" -ne 0 ]; then
    echo "not root: the package was not installed"
    exit 77
fi
# Another copy of this test (another build directory) installs one at a time.
exec 9>/run/lock/velmora-package-test.lock
flock 9
if dpkg-query -W -f='${Status}' velmora 2>/dev/null | grep -q 'install ok installed'; then
    echo "velmora is installed on this system already: not replacing it"
    exit 77
fi

echo "--- dpkg -i"
home=$(mktemp -d)
removed=0
sign=""
cleanup() {
    [ -z "$sign" ] || kill -KILL "$sign" 2>/dev/null || true
    [ "$removed" -eq 1 ] || dpkg -r velmora >/dev/null 2>&1 || true
    rm -rf "$home"
}
trap cleanup EXIT
dpkg -i "$deb" || fail "dpkg -i"

out=$(/usr/bin/velmora --version) || fail "velmora --version: exit status $?"
[ "$out" = "velmora $version" ] || fail "velmora --version printed '$out'"

for file in applications/$app_id.desktop metainfo/$app_id.metainfo.xml \
    icons/hicolor/scalable/apps/velmora.svg \
    icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/velmora.png \
    velmora/Velmora.ini velmora/Velmora.txt man/man1/velmora.1.gz doc/velmora/copyright; do
    [ -f "/usr/share/$file" ] || fail "/usr/share/$file is not installed"
done

# What the menu entry runs: the installed program fills the user's own
# directory from the installed example files (here on Qt's offscreen
# platform), and ends with status 0 when told to stop.
config=$home/.config
HOME=$home XDG_CONFIG_HOME=$config XDG_RUNTIME_DIR=$home QT_QPA_PLATFORM=offscreen \
    /usr/bin/velmora --user &
sign=$!
catches_sigterm() {
    local mask
    mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$sign/status" 2>/dev/null) || return 1
    [ -n "$mask" ] && (((16#$mask >> 14) & 1))
}
# The examples are copied before the program takes SIGTERM as its end.
for _ in $(seq 100); do
    catches_sigterm && break
    kill -0 "$sign" 2>/dev/null || break
    sleep 0.1
done
for name in Velmora.ini Velmora.txt; do
    cmp "/usr/share/velmora/$name" "$config/velmora/$name" || fail "$name was not seeded"
done
kill -TERM "$sign"
status=0
wait "$sign" || status=$?
sign=""
[ "$status" -eq 0 ] || fail "velmora --user ended with status $status"

echo "--- dpkg -r"
dpkg -r velmora || fail "dpkg -r"
removed=1
[ ! -e /usr/bin/velmora ] || fail "/usr/bin/velmora is still there"
[ ! -e /usr/share/velmora ] || fail "/usr/share/velmora is still there"
echo "installed, ran and removed cleanly"
