#!/usr/bin/env bash
# Installs the Debian packages Tovrelline needs to build, test and run; skips what is already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build clang libclang-rt-dev clang-format
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6opengl6-dev
    libgl-dev
    libjpeg62-turbo-dev libpng-dev zlib1g-dev libdeflate-dev libtiff-dev libgif-dev libtag1-dev
    libgtest-dev libgmock-dev libbenchmark-dev libdiscid-dev
    fonts-liberation2 xvfb xauth xdotool xclip imagemagick
    netpbm libjpeg-turbo-progs pkg-config file desktop-file-utils shared-mime-info
    dbus dbus-x11 at-spi2-core python3-pyatspi gir1.2-atspi-2.0 python3-gi iproute2
    cups cups-client cups-daemon printer-driver-cups-pdf poppler-utils libcups2-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
