#!/usr/bin/env bash
# Runs every test: installs what they need, builds the Linux tree (which also cross-builds the
# Windows plug-in and its wine test rig), runs CTest, then the sanitizer build's tests.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

cmake --preset native
cmake --build --preset native -j2
ctest --preset native | tee "$logs/native.txt"

cmake --preset asan
cmake --build --preset asan -j2
ctest --preset asan | tee "$logs/asan.txt"

# The media thread under ThreadSanitizer: its tests and the simulator's headless demo with it on.
bash scripts/tsan.sh | tee "$logs/tsan.txt"

# A short run of every fuzz target (clang, libFuzzer); scripts/fuzz.sh SECONDS for longer runs.
bash scripts/fuzz.sh "${TRALLIO_FUZZ_SECONDS:-10}" | tee "$logs/fuzz.txt"

# One closing line for the whole run: the native and sanitizer tests, the ThreadSanitizer run (its
# tests and the demo) and the fuzz targets (any
# failure above has already stopped the run with its status).
ctest_total=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$logs/native.txt" "$logs/asan.txt" |
  awk '{ n += $1 } END { print n + 0 }')
fuzz_total=$(grep -c ' ok$' "$logs/fuzz.txt" || true)
tsan_total=$(sed -n 's/.*\[  PASSED  \] \([0-9]*\) tests\..*/\1/p' "$logs/tsan.txt" | awk '{ n += $1 } END { print n + 1 }')
echo
echo "total: $((ctest_total + fuzz_total + tsan_total)) passed, 0 failed"
