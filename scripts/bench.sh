#!/usr/bin/env bash
# Reruns the frame-cost benchmarks: a Release build with the benchmarks on, then
#  - instructions per frame (callgrind: the difference between runs of 2000 and 1000 frames, so
#    start-up is left out), radio against floor, per steady state;
#  - heap allocations per steady frame;
#  - wall-clock time per frame (best of repeated runs; noisy on shared machines) and Google
#    Benchmark's own report.
# Usage: scripts/bench.sh [--no-timing]
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/bench
# The build's output is shown only when it fails.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRALLIO_BENCH=ON -DBUILD_TESTING=OFF \
         -DTRALLIO_WINE_TESTS=OFF && cmake --build "$build" -j2 --target trallio_bench; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "bench.sh: the benchmark did not build" >&2
  exit 1
fi
bench="$build/bench/trallio_bench"

instructions() {  # state which frames
  local out
  out=$(mktemp)
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$bench" --frames "$1" "$2" "$3" 2>"$out" >/dev/null
  sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$out"
  rm -f "$out"
}

echo "Instructions per frame (callgrind)"
printf '%-26s %10s %10s %8s\n' state radio floor ratio
for state in on_foot_radio_off riding_track_playing wheel_open_slot_hovered wheel_open_volume_hold; do
  r1=$(instructions "$state" radio 1000); r2=$(instructions "$state" radio 2000)
  f1=$(instructions "$state" floor 1000); f2=$(instructions "$state" floor 2000)
  awk -v s="$state" -v r=$(( (r2 - r1) / 1000 )) -v f=$(( (f2 - f1) / 1000 )) \
    'BEGIN { printf "%-26s %10d %10d %8.2f\n", s, r, f, r / f }'
done
echo
"$bench" --allocations
if [ "${1:-}" != "--no-timing" ]; then
  echo
  "$bench" --table
  echo
  "$bench" --benchmark_min_time=0.2
fi
