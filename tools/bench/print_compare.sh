#!/usr/bin/env bash
# Times the whole `tovrelline print -o` of a Letter disc sheet (a 12-megapixel photograph edge to edge on
# the disc and a 21-line text) beside `glabels-3-batch` printing the equivalent gLabels document, and
# compares the PDF sizes. Measures only: needs glabels, which the build and the tests do not:
#     apt-get install --no-install-recommends glabels
# Wall-clock times are the median of RUNS rounds (default 5), processor times (user + system) beside them.
# Usage: print_compare.sh [RUNS] [BUILD_DIR]   (BUILD_DIR defaults to build/release, built here)
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-5}
build=${2:-build/release}
if [ -z "${2:-}" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVRELLINE_BENCH=ON >/dev/null
    cmake --build "$build" --target tovrelline bench_print >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
TOVRELLINE_BENCH_DESIGN=$work/photo.tvl TOVRELLINE_BENCH_PHOTO=$work/photo.jpg \
    "$build/tools/bench/bench_print" --benchmark_min_time=0.01 >"$work/bench.txt"
sh ../shared/bench/glabels_doc.sh "$work/photo.jpg" "$work/doc.glabels" 2>/dev/null ||
    sh /work/shared/bench/glabels_doc.sh "$work/photo.jpg" "$work/doc.glabels"
program=$build/app/tovrelline
names=(ours glabels)
commands=(
    "$program print $work/photo.tvl --labels disc1 -o $work/ours.pdf"
    "glabels-3-batch -o $work/glabels.pdf $work/doc.glabels"
)
for _ in $(seq "$runs"); do
    for i in "${!names[@]}"; do
        # shellcheck disable=SC2086
        /usr/bin/time -o "$work/time" -f '%e %U %S' ${commands[$i]} >/dev/null 2>&1
        read -r wall user system <"$work/time"
        echo "$wall $(echo "$user + $system" | bc -l)" >>"$work/${names[$i]}.times"
    done
done
median() { awk -v c="$1" '{print $c}' "$2" | sort -g | sed -n "$(((runs + 1) / 2))p"; }
printf '%-16s %8s %8s %10s\n' "" "wall s" "cpu s" "bytes"
for name in "${names[@]}"; do
    printf '%-16s %8s %8s %10s\n' "$name" "$(median 1 "$work/$name.times")" "$(median 2 "$work/$name.times")" \
        "$(stat -c %s "$work/$name.pdf")"
done
ours=$(median 1 "$work/ours.times") theirs=$(median 1 "$work/glabels.times")
printf 'time ratio %.3f (goal at most 0.1), size ratio %.3f (goal at most 0.25)\n' \
    "$(echo "$ours / $theirs" | bc -l)" \
    "$(echo "$(stat -c %s "$work/ours.pdf") / $(stat -c %s "$work/glabels.pdf")" | bc -l)"
