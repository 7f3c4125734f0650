#!/usr/bin/env bash
# Runs every test: installs what they need, builds the Linux tree (which also cross-builds the
# Windows plug-in and its wine test rig), runs CTest, then the sanitizer build's tests.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake --preset native
cmake --build --preset native -j2
ctest --preset native

cmake --preset asan
cmake --build --preset asan -j2
ctest --preset asan

# A short run of every fuzz target (clang, libFuzzer); scripts/fuzz.sh SECONDS for longer runs.
bash scripts/fuzz.sh "${TRALLIO_FUZZ_SECONDS:-10}"
