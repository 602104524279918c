#!/usr/bin/env bash
# The command line's fixed costs and the pictures' memory, side by side with libjpeg-turbo's `cjpeg`:
#   - `tovrelline help`, wall clock;
#   - peak resident memory of `dump` and `save-as` of a DVD design with two 12-megapixel photographs;
#   - the whole `tovrelline export` of a 600-dpi disc with a photograph to JPEG against `cjpeg` writing the
#     same pixels from a PPM at the same quality (90).
# Measures only: needs cjpeg and pngtopnm, which tools/install-deps.sh installs.
# Every figure is the median of RUNS rounds (default 9); each round runs every command once, in turn, so
# that a change in the machine's load falls on all of them. The load average is printed with the figures.
# Usage: lighter_compare.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-9}
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVRELLINE_BENCH=ON >/dev/null
cmake --build build/release --target tovrelline bench_surfaces >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
TOVRELLINE_BENCH_DESIGN=$work/photo.tvl TOVRELLINE_BENCH_DVD_DESIGN=$work/dvd.tvl \
    build/release/tools/bench/bench_surfaces --benchmark_filter='ExportDisc600Png|ReadDvdDesign' \
    --benchmark_min_time=0.01 >/dev/null
mkdir -m 700 "$work/runtime"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
unset DISPLAY WAYLAND_DISPLAY
program=build/release/app/tovrelline
"$program" export "$work/photo.tvl" --label disc1 --dpi 600 -o "$work/label.png"
pngtopnm "$work/label.png" >"$work/label.ppm"

names=(help dump save_as export cjpeg)
commands=(
    "$program help"
    "$program dump $work/dvd.tvl"
    "$program save-as $work/dvd.tvl $work/copy.tvl"
    "$program export $work/photo.tvl --label disc1 --dpi 600 -o $work/ours.jpg"
    "cjpeg -quality 90 -outfile $work/cjpeg.jpg $work/label.ppm"
)
for _ in $(seq "$runs"); do
    for i in "${!names[@]}"; do
        start=$(date +%s%N)
        # shellcheck disable=SC2086
        /usr/bin/time -o "$work/time" -f '%M' ${commands[$i]} >/dev/null 2>&1
        end=$(date +%s%N)
        echo "$(((end - start) / 1000)) $(cat "$work/time")" >>"$work/${names[$i]}.times"
    done
done
median() {
    awk -v c="$1" '{print $c}' "$2" | sort -g | sed -n "$(((runs + 1) / 2))p"
}
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-10s %10s %12s\n' "" "wall ms" "peak MiB"
for name in "${names[@]}"; do
    printf '%-10s %10.1f %12.1f\n' "$name" "$(echo "$(median 1 "$work/$name.times") / 1000" | bc -l)" \
        "$(echo "$(median 2 "$work/$name.times") / 1024" | bc -l)"
done
printf 'export / cjpeg: %.2f\n' "$(echo "$(median 1 "$work/export.times") / $(median 1 "$work/cjpeg.times")" | bc -l)"
