#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# build-release.sh DIR [--deb]: the build that is installed and packaged,
# configured in DIR as Release under /usr, without tests or benchmarks, and
# compiled with Debian's build flags (dpkg-buildflags: hardening, fortify).
# With --deb, it then makes the Debian package in DIR and prints its path.
# The build's own output goes to DIR/build.log.
set -euo pipefail

dir=${1:?usage: build-release.sh DIR [--deb]}
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
shown=${dir%/}/
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
log=$dir/build.log
: >"$log"

# The flags as dpkg-buildpackage would give them, with every hardening
# feature (bind now too); CMake has no CPPFLAGS, so they go in front of the
# C++ flags. Taken in the source directory, which the file prefix map then
# hides from the binary.
cd "$root"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cxxflags=$(dpkg-buildflags --get CXXFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)

configure="cmake -S '$root' -B '$dir' -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_CXX_FLAGS='$cppflags $cxxflags' \
    -DCMAKE_EXE_LINKER_FLAGS='$ldflags'"
bash "$root/scripts/quietly.sh" "$log" "Building the release in $shown" \
    "$configure && cmake --build '$dir' -j $jobs"

if [ "${2:-}" = --deb ]; then
    rm -f "$dir"/velmora_*.deb
    bash "$root/scripts/quietly.sh" "$log" "Making the Debian package" \
        "cd '$dir' && cpack -G DEB"
    ls "$dir"/velmora_*.deb
fi
