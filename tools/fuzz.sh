#!/usr/bin/env bash
# Builds every fuzz target with clang and libFuzzer and runs each for the given number of seconds
# (default 60), starting from its seed corpus. New inputs found go to build/fuzz/corpus/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
./tools/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOVRELLINE_FUZZ=ON -DTOVRELLINE_TESTS=OFF
cmake --build build/fuzz -j"$(nproc)"
status=0
for seeds in fuzz/*/corpus; do
    name=$(basename "$(dirname "$seeds")")
    work=build/fuzz/corpus/$name
    mkdir -p "$work"
    echo "== fuzz_$name for ${seconds}s"
    "build/fuzz/fuzz/$name/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        "$work" "$seeds" || status=1
done
exit $status
