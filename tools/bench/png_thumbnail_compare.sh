#!/usr/bin/env bash
# PNG thumbnails (110 pixels) of a 2000 × 1500 photograph with alpha: ours against libvips' vipsthumbnail
# on the same file, one thread each. Measures only: needs libvips-tools. Figures are processor time (user +
# system), so that other work on the machine does not count against either side.
# Usage: png_thumbnail_compare.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-30}
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVRELLINE_BENCH=ON >/dev/null
cmake --build build/release --target bench_images >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
TOVRELLINE_BENCH_PNG_WRITE=$work/photo.png build/release/tools/bench/bench_images \
    --benchmark_filter=PngAlphaThumbnail110 --benchmark_min_time=0.01 >/dev/null

echo "== ours (one thread)"
build/release/tools/bench/bench_images --benchmark_filter=PngAlphaThumbnail110 --benchmark_min_time=3 \
    --benchmark_counters_tabular=true | grep PngAlpha

echo "== vipsthumbnail (110 px, $runs files in one process, one thread)"
files=()
for i in $(seq "$runs"); do cp "$work/photo.png" "$work/p$i.png"; files+=("$work/p$i.png"); done
total=$({ TIMEFORMAT=%U+%S; time (VIPS_CONCURRENCY=1 vipsthumbnail -s 110 -o '%s_t.png' "${files[@]}" 2>/dev/null); } 2>&1)
printf '%.1f ms a thumbnail, %.2f a second\n' "$(echo "($total) * 1000 / $runs" | bc -l)" \
    "$(echo "$runs / ($total)" | bc -l)"
