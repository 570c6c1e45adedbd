#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages that building, running, testing and packaging
# Velmora need. Does nothing when every package is already present; uses sudo
# when not root. With VELMORA_DEPS_LOG set, apt's output goes to that file and
# only one line is shown (its end too, if apt fails).
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-qpa-plugins
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    fonts-ipafont-gothic fonts-nanum fonts-noto-color-emoji fonts-dejavu-core
    xvfb openbox xdotool x11-utils imagemagick libxcb1-dev
    python3 e2fsprogs valgrind
    clang libclang-rt-14-dev llvm-14
    dpkg-dev file lintian desktop-file-utils appstream man-db
    dbus-daemon dbus-bin at-spi2-core python3-pyatspi ibus x11-xserver-utils xclip
    openssh-server sshfs
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
install_missing() {
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

if [ -z "${VELMORA_DEPS_LOG:-}" ]; then
    echo "Installing missing packages: ${missing[*]}"
    install_missing
    exit
fi
# sudo asks for the password before apt's output is sent away.
[ ${#sudo[@]} -eq 0 ] || sudo -v
printf 'Installing missing packages (%s)… ' "${missing[*]}"
if install_missing >>"$VELMORA_DEPS_LOG" 2>&1; then
    echo done
else
    echo "failed; the end of $VELMORA_DEPS_LOG:"
    tail -n 20 "$VELMORA_DEPS_LOG" | sed 's/^/    /'
    exit 1
fi
