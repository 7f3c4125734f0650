#!/usr/bin/env bash
# The media thread under ThreadSanitizer: its own tests, then the simulator's headless demo with
# media_thread on (the radio's thread sends every command to the real media service while the
# script runs the frames).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset tsan >/dev/null
cmake --build build/tsan -j2 --target media_thread_tests trallio-sim

export TSAN_OPTIONS="halt_on_error=1 exitcode=66 suppressions=$(pwd)/scripts/tsan.supp"
build/tsan/tests/media_thread_tests

game=build/tsan/sim-game
rm -rf "$game"
mkdir -p "$game/Trallio"
printf '[config]\r\nmedia_thread=True\r\n' > "$game/Trallio/Trallio.ini"
trace=$game/demo-trace.txt
build/tsan/sim/trallio-sim --game-dir "$game" --demo --headless sim/scenarios/demo.scn --fps 60 --sink fake \
  --trace "$trace"
plays=$(grep -c ' media play ' "$trace" || true)
echo "tsan: the headless demo with media_thread on ran clean; $plays play commands in its trace"
[ "$plays" -ge 3 ]
