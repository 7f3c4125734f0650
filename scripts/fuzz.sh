#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang) and runs each for a bounded time.
#
#   bash scripts/fuzz.sh [seconds per target, default 60] [target ...]
#
# Each target starts from its committed seeds (fuzz/seeds/<target>) and the corpus that earlier
# runs on this machine left in build/fuzz/corpus/<target>, and adds what it finds there. An input
# that breaks a rule or trips a sanitizer is saved under build/fuzz/artifacts/ and the script
# fails. Prints one line per target: executions, corpus size and result.
set -euo pipefail
cd "$(dirname "$0")/.."
# The targets work inside scratch folders of their own: every path handed to them is absolute.
root="$(pwd)"

seconds="${1:-60}"
shift || true

mkdir -p build/fuzz
if ! { cmake --preset fuzz && cmake --build --preset fuzz -j2; } >build/fuzz/build.log 2>&1; then
  tail -n 40 build/fuzz/build.log
  echo "fuzz: the build failed (build/fuzz/build.log)"
  exit 1
fi

if [ "$#" -gt 0 ]; then
  targets=("$@")
else
  IFS=';' read -r -a targets < build/fuzz/fuzz_targets.txt || true
fi

# Scratch folders the targets make go to memory when it can, and are removed afterwards.
scratch_base=/dev/shm
[ -d "$scratch_base" ] && [ -w "$scratch_base" ] || scratch_base="$root/build/fuzz"
scratch="$(mktemp -d "$scratch_base/trallio-fuzz.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

mkdir -p build/fuzz/artifacts build/fuzz/logs
failed=0
for target in "${targets[@]}"; do
  corpus="$root/build/fuzz/corpus/$target"
  mkdir -p "$corpus"
  args=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$root/build/fuzz/artifacts/$target-")
  [ -f "fuzz/$target.dict" ] && args+=(-dict="$root/fuzz/$target.dict")
  seeds=()
  [ -d "fuzz/seeds/$target" ] && seeds=("$root/fuzz/seeds/$target")
  log="build/fuzz/logs/$target.log"
  if TMPDIR="$scratch" "build/fuzz/fuzz/$target" "${args[@]}" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    result=ok
  else
    result="FAILED (see $log)"
    failed=1
    grep -E "broken rule|ERROR|SUMMARY|artifact" "$log" | head -n 8 || true
  fi
  executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
  printf '%-20s %4ss  %10s executions  corpus %5s files  %s\n' "$target" "$seconds" "${executions:-?}" \
    "$(find "$corpus" -type f | wc -l)" "$result"
done
exit "$failed"
