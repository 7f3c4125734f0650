#!/usr/bin/env bash
# Under wine, with the real Trallio.asi and wine's own winmm playing a real mp3: the time of a
# riding frame against a bare status poll of the same device, in the same run; and the frames in
# which a track changes (plainly, and over a refused file) against the same commands sent bare.
# Needs the native build with its wine tests run once (for the prefix and the tone): bash scripts/test.sh, or
#   cmake --build --preset native && ctest --preset native -L wine
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/native
rig=$build/windows/tests/windows/bin
export PATH=/usr/lib/wine:$PATH WINEPREFIX=$(pwd)/$build/wineprefix WINEDEBUG=-all
export WINEDLLOVERRIDES=winmm=b ALSA_CONFIG_PATH=$(pwd)/$build/alsa-null.conf
# wine's MCI sometimes crashes while the process exits, after the figures are printed: each
# measurement's status is reported, and the run fails only at the end.
failed=0
for measurement in frame-cost change-cost; do
  bash scripts/wine-run.sh "$rig/trallio_wine_bench.exe" "$measurement" || {
    echo "$measurement: wine exited with status $?"
    failed=1
  }
done
exit "$failed"
