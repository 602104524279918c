#!/usr/bin/env bash
# Times the whole `tovrelline export` of a 600-dpi disc label with a full photograph to PNG (reading the
# design and decoding the photograph included) side by side with libvips (`vips copy`) and GraphicsMagick
# (`gm convert`) writing the same pixels from a PPM to PNG, and compares the file sizes with libpng's
# default encode of those pixels (bench_surfaces' BM_LibpngEncode2775). Measures only: needs libvips-tools
# and graphicsmagick, which the build and the tests do not:
#     apt-get install --no-install-recommends libvips-tools graphicsmagick
# Wall-clock times are the median of RUNS runs (default 7); processor times (user + system) are shown
# beside them, as other work on the machine stretches the wall clock. Usage: export_compare.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-7}
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVRELLINE_BENCH=ON >/dev/null
cmake --build build/release --target tovrelline bench_surfaces >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
TOVRELLINE_BENCH_DESIGN=$work/photo.tvl build/release/tools/bench/bench_surfaces \
    --benchmark_filter='LibpngEncode2775' --benchmark_min_time=0.01 --benchmark_format=json >"$work/libpng.json"
libpng_bytes=$(sed -n 's/.*"bytes": \([0-9.e+]*\).*/\1/p' "$work/libpng.json" | head -n 1)
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
program=build/release/app/tovrelline
"$program" export "$work/photo.tvl" --label disc1 --dpi 600 -o "$work/ours.png"
pngtopnm "$work/ours.png" >"$work/label.ppm"

# Median wall seconds and median processor seconds of a command over $runs runs: "WALL CPU".
measure() {
    local walls=() cpus=()
    for _ in $(seq "$runs"); do
        local line
        line=$( { /usr/bin/time -f '%e %U %S' "$@" >/dev/null 2>/dev/null; } 2>&1 | tail -n 1)
        read -r wall user system <<<"$line"
        walls+=("$wall")
        cpus+=("$(echo "$user + $system" | bc -l)")
    done
    printf '%s %s\n' "$(printf '%s\n' "${walls[@]}" | sort -g | sed -n "$(((runs + 1) / 2))p")" \
        "$(printf '%s\n' "${cpus[@]}" | sort -g | sed -n "$(((runs + 1) / 2))p")"
}

ours=$(measure "$program" export "$work/photo.tvl" --label disc1 --dpi 600 -o "$work/ours.png")
vips=$(measure vips copy "$work/label.ppm" "$work/vips.png")
gm=$(measure gm convert "$work/label.ppm" "$work/gm.png")
one_core=$(measure taskset -c 0 "$program" export "$work/photo.tvl" --label disc1 --dpi 600 -o "$work/ours1.png")

size() { stat -c %s "$1"; }
printf '%-34s %8s %8s %10s %8s\n' "" "wall s" "cpu s" "bytes" "size"
row() {
    read -r wall cpu <<<"$2"
    printf '%-34s %8.3f %8.3f %10d %8.3f\n' "$1" "$wall" "$cpu" "$3" "$(echo "$3 / $libpng_bytes" | bc -l)"
}
row "tovrelline export (whole)" "$ours" "$(size "$work/ours.png")"
row "tovrelline export, one core" "$one_core" "$(size "$work/ours1.png")"
row "vips copy PPM -> PNG" "$vips" "$(size "$work/vips.png")"
row "gm convert PPM -> PNG" "$gm" "$(size "$work/gm.png")"
printf '%-34s %8s %8s %10.0f %8.3f\n' "libpng default (same pixels)" "" "" "$libpng_bytes" 1
read -r ours_wall _ <<<"$ours"
read -r vips_wall _ <<<"$vips"
read -r gm_wall _ <<<"$gm"
printf 'ours / vips: %.2f   ours / gm: %.2f\n' "$(echo "$ours_wall / $vips_wall" | bc -l)" \
    "$(echo "$ours_wall / $gm_wall" | bc -l)"
cmp <(pngtopnm "$work/ours.png") <(pngtopnm "$work/vips.png") >/dev/null && echo "same pixels as vips: yes"
