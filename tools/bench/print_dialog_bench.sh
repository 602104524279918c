#!/usr/bin/env bash
# Runs the Print dialog benchmarks against a private CUPS scheduler with ten cups-pdf queues.
# Usage: print_dialog_bench.sh [BUILD_DIR]   (BUILD_DIR defaults to build/release, built here)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
if [ -z "${1:-}" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVRELLINE_BENCH=ON >/dev/null
    cmake --build "$build" --target bench_print_dialog >/dev/null
fi
source tests/support/private_cupsd.sh
start_private_cupsd
added=()
cleanup() {
    for queue in "${added[@]}"; do lpadmin -x "$queue" 2>/dev/null || true; done
    stop_private_cupsd
}
trap cleanup EXIT
# Nine more queues on the same cups-pdf device.
for n in $(seq 2 10); do
    queue=$PRIVATE_CUPS_QUEUE-$n
    lpadmin -p "$queue" -E -v "cups-pdf:/$PRIVATE_CUPS_QUEUE" \
        -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd 2>/dev/null
    added+=("$queue")
done
echo "queues: $(lpstat -e | wc -l)"
"$build/tools/bench/bench_print_dialog" "${@:2}"
