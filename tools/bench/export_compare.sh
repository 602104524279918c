#!/usr/bin/env bash
# Times the whole `tovrelline export` of a 600-dpi disc label with a full photograph to PNG (reading the
# design and decoding the photograph included) side by side with libvips (`vips copy`) and GraphicsMagick
# (`gm convert`) writing the same pixels from a PPM to PNG, and compares the file sizes with libpng's
# default encode of those pixels (bench_surfaces' BM_LibpngEncode2775). Measures only: needs libvips-tools
# and graphicsmagick, which the build and the tests do not:
#     apt-get install --no-install-recommends libvips-tools graphicsmagick
# Wall-clock times are the median of RUNS rounds (default 7); processor times (user + system) are shown
# beside them, as other work on the machine stretches the wall clock.
# Usage: [TOVRELLINE_BASELINE=OLD_BUILD/app/tovrelline] export_compare.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-7}
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVRELLINE_BENCH=ON >/dev/null
cmake --build build/release --target tovrelline bench_surfaces >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
TOVRELLINE_BENCH_DESIGN=$work/photo.tvl build/release/tools/bench/bench_surfaces \
    --benchmark_filter='LibpngEncode2775' --benchmark_min_time=0.01 --benchmark_format=json >"$work/libpng.json"
libpng_bytes=$(printf '%.0f' "$(sed -n 's/.*"bytes": \([0-9.e+]*\).*/\1/p' "$work/libpng.json" | head -n 1)")
mkdir -m 700 "$work/runtime"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
program=build/release/app/tovrelline
"$program" export "$work/photo.tvl" --label disc1 --dpi 600 -o "$work/ours.png"
pngtopnm "$work/ours.png" >"$work/label.ppm"

# Each round runs every command once, in turn, so that a change in the machine's load falls on all of them.
# Every measurement is "WALL CPU" seconds (CPU = user + system); each command's median of the rounds is kept.
names=(ours one_core vips gm)
commands=(
    "$program export $work/photo.tvl --label disc1 --dpi 600 -o $work/ours.png"
    "taskset -c 0 $program export $work/photo.tvl --label disc1 --dpi 600 -o $work/ours1.png"
    "vips copy $work/label.ppm $work/vips.png"
    "gm convert $work/label.ppm $work/gm.png"
)
# TOVRELLINE_BASELINE names an earlier build of the program to time beside this one on one core.
if [ -n "${TOVRELLINE_BASELINE:-}" ]; then
    names+=(baseline)
    commands+=("taskset -c 0 $TOVRELLINE_BASELINE export $work/photo.tvl --label disc1 --dpi 600 -o $work/base.png")
fi
for _ in $(seq "$runs"); do
    for i in "${!names[@]}"; do
        # shellcheck disable=SC2086
        /usr/bin/time -o "$work/time" -f '%e %U %S' ${commands[$i]} >/dev/null 2>&1
        read -r wall user system <"$work/time"
        echo "$wall $(echo "$user + $system" | bc -l)" >>"$work/${names[$i]}.times"
    done
done
median() {
    local column=$1 file=$2
    awk -v c="$column" '{print $c}' "$file" | sort -g | sed -n "$(((runs + 1) / 2))p"
}
for name in "${names[@]}"; do
    declare "$name=$(median 1 "$work/$name.times") $(median 2 "$work/$name.times")"
done

size() { stat -c %s "$1"; }
printf '%-34s %8s %8s %10s %8s\n' "" "wall s" "cpu s" "bytes" "size"
row() {
    read -r wall cpu <<<"$2"
    printf '%-34s %8.3f %8.3f %10d %8.3f\n' "$1" "$wall" "$cpu" "$3" "$(echo "$3 / $libpng_bytes" | bc -l)"
}
row "tovrelline export (whole)" "$ours" "$(size "$work/ours.png")"
row "tovrelline export, one core" "$one_core" "$(size "$work/ours1.png")"
[ -n "${TOVRELLINE_BASELINE:-}" ] && row "baseline program, one core" "$baseline" "$(size "$work/base.png")"
row "vips copy PPM -> PNG" "$vips" "$(size "$work/vips.png")"
row "gm convert PPM -> PNG" "$gm" "$(size "$work/gm.png")"
printf '%-34s %8s %8s %10.0f %8.3f\n' "libpng default (same pixels)" "" "" "$libpng_bytes" 1
read -r ours_wall _ <<<"$ours"
read -r vips_wall _ <<<"$vips"
read -r gm_wall _ <<<"$gm"
printf 'ours / vips: %.2f   ours / gm: %.2f\n' "$(echo "$ours_wall / $vips_wall" | bc -l)" \
    "$(echo "$ours_wall / $gm_wall" | bc -l)"
cmp <(pngtopnm "$work/ours.png") <(pngtopnm "$work/vips.png") >/dev/null && echo "same pixels as vips: yes"
