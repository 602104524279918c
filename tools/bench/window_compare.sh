#!/usr/bin/env bash
# The window with pictures, side by side with gLabels 3, each on a private Xvfb:
#   - wall clock from the start of the program until its first top-level window is mapped, for a disc
#     design holding one 12-megapixel photograph, and for gLabels 3 on the equivalent document holding the
#     same photograph (../shared/bench/glabels_doc.sh writes it);
#   - peak resident memory of the window holding the DVD design with two full-surface 12-megapixel
#     photographs, read two seconds after it is mapped so that the pictures on show have been drawn; and
#     of `tovrelline dump` of that design.
# Every figure is the median of RUNS rounds (default 9); each round runs every side once, in turn, so that a
# change in the machine's load falls on all of them. The load average is printed with the figures.
# TOVRELLINE_BASELINE=OTHER_BUILD/app/tovrelline adds that program as one more side (an earlier build).
# Usage: [TOVRELLINE_BASELINE=...] window_compare.sh [RUNS] [GLABELS_DOC_SCRIPT]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-9}
glabels_doc=${2:-../shared/bench/glabels_doc.sh}
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVRELLINE_BENCH=ON >/dev/null
cmake --build build/release --target tovrelline bench_surfaces >/dev/null
work=$(mktemp -d)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
TOVRELLINE_BENCH_DISC_DESIGN=$work/disc.tvl TOVRELLINE_BENCH_PHOTO=$work/photo.jpg \
    TOVRELLINE_BENCH_DVD_DESIGN=$work/dvd.tvl build/release/tools/bench/bench_surfaces \
    --benchmark_filter='ReadDiscDesignWithPhotograph|ReadDvdDesign' --benchmark_min_time=0.01 >/dev/null
sh "$glabels_doc" "$work/photo.jpg" "$work/disc.glabels"

exec 3< <(Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp 2>/dev/null & echo "pid $!")
read -r _ xvfb <&3
read -r display_number <&3
export DISPLAY=:$display_number
mkdir -m 700 "$work/runtime"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
export XDG_CACHE_HOME=$work/cache GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1

# Starts a command, prints "MS PEAK_KIB": milliseconds until a top-level window is mapped and the peak
# resident memory SETTLE seconds later; then ends the command.
cat >"$work/mapped.py" <<'PY'
import os, subprocess, sys, time
settle = float(sys.argv[1])
command = sys.argv[2:]
xev = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
time.sleep(0.3)  # xev has selected the root window's events
start = time.monotonic()
program = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
mapped = None
for line in xev.stdout:
    if line.startswith("MapNotify"):
        mapped = time.monotonic()
        break
time.sleep(settle)
peak = 0
with open(f"/proc/{program.pid}/status") as status:
    for line in status:
        if line.startswith("VmHWM:"):
            peak = int(line.split()[1])
program.terminate()
try:
    program.wait(timeout=10)
except subprocess.TimeoutExpired:
    program.kill()
    program.wait()
xev.kill()
xev.wait()
print(f"{(mapped - start) * 1000:.1f} {peak}")
PY

program=build/release/app/tovrelline
names=(ours_disc glabels_disc ours_dvd)
commands=(
    "$program $work/disc.tvl"
    "glabels-3 $work/disc.glabels"
    "$program $work/dvd.tvl"
)
if [ -n "${TOVRELLINE_BASELINE:-}" ]; then
    names+=(base_disc base_dvd)
    commands+=("$TOVRELLINE_BASELINE $work/disc.tvl" "$TOVRELLINE_BASELINE $work/dvd.tvl")
fi
for _ in $(seq "$runs"); do
    for i in "${!names[@]}"; do
        # shellcheck disable=SC2086
        /usr/bin/python3 "$work/mapped.py" 2 ${commands[$i]} >>"$work/${names[$i]}.times"
    done
    /usr/bin/time -o "$work/time" -f '%M' "$program" dump "$work/dvd.tvl" >/dev/null
    echo "0 $(cat "$work/time")" >>"$work/ours_dump.times"
    if [ -n "${TOVRELLINE_BASELINE:-}" ]; then
        /usr/bin/time -o "$work/time" -f '%M' "$TOVRELLINE_BASELINE" dump "$work/dvd.tvl" >/dev/null
        echo "0 $(cat "$work/time")" >>"$work/base_dump.times"
    fi
done
median() {
    awk -v c="$1" '{print $c}' "$2" | sort -g | sed -n "$(((runs + 1) / 2))p"
}
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-13s %12s %12s\n' "" "mapped ms" "peak MiB"
for name in "${names[@]}" ours_dump ${TOVRELLINE_BASELINE:+base_dump}; do
    printf '%-13s %12.1f %12.1f\n' "$name" "$(median 1 "$work/$name.times")" \
        "$(echo "$(median 2 "$work/$name.times") / 1024" | bc -l)"
done
printf 'ours / gLabels (disc window mapped): %.3f\n' \
    "$(echo "$(median 1 "$work/ours_disc.times") / $(median 1 "$work/glabels_disc.times")" | bc -l)"
