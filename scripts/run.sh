#!/usr/bin/env bash
# The main job: builds the player's zip (the Windows plug-in, the station checker, the settings
# file and the README) and the desktop simulator, then plays the radio in the simulator on a demo
# library: in a window when there is a display, else headless on a demo scenario whose trace shows
# a station playing. Says where the zip is.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# The Windows side: Trallio.asi, TrallioCheck.exe, and the zip.
cmake --preset windows
cmake --build --preset windows -j2
bash scripts/check-package.sh --make build/windows
zip=$(ls -t build/windows/Trallio-*-win64.zip | head -n 1)

# The Linux side: the simulator and the station checker.
cmake --preset native
cmake --build --preset native -j2 --target trallio-sim trallio-check

# A game folder of the simulator's own; the simulator makes the demo stations in it.
game=build/sim-game
mkdir -p "$game"
sim=build/native/sim/trallio-sim
echo
echo "Release zip: $(pwd)/$zip"
echo

if [ -n "${DISPLAY:-}" ]; then
  echo "Simulator window: press M to get on a horse, hold Q and R for the wheel, click a station."
  "$sim" --game-dir "$game" --demo --window
else
  trace=$game/demo-trace.txt
  echo "No display: the headless demo (sim/scenarios/demo.scn, about ten seconds)."
  "$sim" --game-dir "$game" --demo --headless sim/scenarios/demo.scn --fps 60 --trace "$trace"
  echo
  echo "What the player did and what the media service was told (the whole trace: $trace):"
  grep -E '^[0-9]+ (input|media (open|play|close|pause|resume))' "$trace" | grep -v ' input await '
fi

echo
echo "The station checker on the demo library:"
build/native/tools/trallio-check --game-dir "$game"

echo
echo "Release zip: $(pwd)/$zip"
