#!/usr/bin/env bash
# Installs what is missing, builds the release program and runs it with the given arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVRELLINE_TESTS=OFF
cmake --build build/release -j"$(nproc)" --target tovrelline
exec build/release/app/tovrelline "$@"
