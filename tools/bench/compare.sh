#!/usr/bin/env bash
# Times the image benchmarks against libjpeg-turbo's djpeg, libvips' vipsthumbnail and ImageMagick on the
# same 4000 × 3000 photograph, one thread each. Measures only: needs libjpeg-turbo-progs, libvips-tools and
# imagemagick, which the build and the tests do not. Figures are processor time (user + system), so that other
# work on the machine does not count against either side.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVRELLINE_BENCH=ON -DTOVRELLINE_TESTS=OFF >/dev/null
cmake --build build/bench --target bench_images >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
photo=${1:-$work/photo.jpg}
if [ -z "${1:-}" ]; then
    TOVRELLINE_BENCH_WRITE=$photo build/bench/tools/bench/bench_images --benchmark_filter=JpegThumbnail110 \
        --benchmark_min_time=0.01 >/dev/null
fi
runs=20

# Mean processor seconds per run of a command over $runs runs.
seconds() {
    local TIMEFORMAT=%U+%S
    local total
    total=$({ time (for _ in $(seq $runs); do "$@" >/dev/null 2>&1; done); } 2>&1)
    echo "($total) / $runs" | bc -l
}

echo "== ours"
TOVRELLINE_BENCH_JPEG=$photo build/bench/tools/bench/bench_images --benchmark_min_time=2

echo "== djpeg (full decode to PPM)"
printf '%.1f ms\n' "$(echo "$(seconds djpeg -outfile /dev/null "$photo") * 1000" | bc -l)"

echo "== vipsthumbnail (110 px, $runs files in one process)"
files=()
for i in $(seq $runs); do cp "$photo" "$work/p$i.jpg"; files+=("$work/p$i.jpg"); done
total=$({ TIMEFORMAT=%U+%S; time (VIPS_CONCURRENCY=1 vipsthumbnail -s 110 -o '%s_t.jpg' "${files[@]}" 2>/dev/null); } 2>&1)
printf '%.1f ms a thumbnail\n' "$(echo "($total) * 1000 / $runs" | bc -l)"

echo "== convert -resize 1000x750 (one thread; decode time subtracted)"
djpeg -outfile "$work/photo.ppm" "$photo"
magick=$(command -v /usr/bin/convert || command -v convert)
with=$(MAGICK_THREAD_LIMIT=1 seconds "$magick" "$work/photo.ppm" -resize 1000x750 null:)
without=$(MAGICK_THREAD_LIMIT=1 seconds "$magick" "$work/photo.ppm" null:)
printf '%.1f ms\n' "$(echo "($with - $without) * 1000" | bc -l)"
