#!/usr/bin/env bash
# Installs what is missing, builds the release program and makes its Debian package with CPack; prints the
# package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVRELLINE_TESTS=OFF >/dev/null
cmake --build build/package -j"$(nproc)" >/dev/null
(cd build/package && cpack -G DEB >/dev/null)
ls "$PWD"/build/package/tovrelline_*.deb
