#!/usr/bin/env bash
# Under wine, with the real Trallio.asi: the time of a riding frame against a bare status poll of
# the same device and the frames in which a track changes (plainly, and over a refused file)
# against the same commands sent bare, both with wine's own winmm playing a real mp3; then, on the
# recording winmm, the frame in which a track starts with titles = tags against titles = file, the
# frame in which the wheel closes and the remembered state is written, and the frame in which a
# tagged track starts with loudness = track against titles = tags.
#   scripts/bench-wine.sh [BUILD [MEASUREMENT...]]
# (every measurement by default; for example: scripts/bench-wine.sh build/native change-cost change-cost-thread)
# BUILD is the native tree that holds the Windows tree in BUILD/windows (the default, build/native)
# or a Windows tree of its own (build/windows): the rig is its tests/windows/bin, the wine prefix
# BUILD/wineprefix (made here if missing). The test tone, the null sound device and the tagged
# files (with build/native's trallio-tagged-files: cmake --build build/native --target
# trallio-tagged-files) are made beside them here.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/native}
build=$(cd "$build" && pwd)
shift $(( $# > 0 ? 1 : 0 ))
wanted=" $* "
if [ -d "$build/windows/tests/windows/bin" ]; then
  rig=$build/windows/tests/windows/bin
else
  rig=$build/tests/windows/bin
fi
maker=build/native/tests/tags/trallio-tagged-files
if [ ! -x "$maker" ]; then
  echo "bench-wine.sh: $maker is missing (cmake --build build/native --target trallio-tagged-files)" >&2
  exit 2
fi
bash scripts/wine-prefix.sh "$build/wineprefix"
export PATH=/usr/lib/wine:$PATH WINEPREFIX=$build/wineprefix WINEDEBUG=-all
alsa_conf=$build/alsa-null.conf
if [ ! -f "$alsa_conf" ]; then
  printf 'pcm.!default { type null }\nctl.!default { type null }\n' >"$alsa_conf"
fi
export ALSA_CONFIG_PATH=$alsa_conf
if [ ! -f "$rig/tone.mp3" ]; then
  gst-launch-1.0 -q audiotestsrc num-buffers=40 ! audioconvert ! lamemp3enc ! filesink location="$rig/tone.mp3"
fi
"$maker" "$rig/tagged" --big
# wine's MCI sometimes crashes while the process exits, after the figures are printed: each
# measurement's status is reported, and the run fails only at the end. The first two use the
# system's winmm, tag-cost, save-cost and loudness-cost the recording winmm beside the program.
# A measurement is stopped if it runs past half an hour.
failed=0
for measurement in frame-cost:b change-cost:b change-cost-thread:b tag-cost:n save-cost:n loudness-cost:n; do
  if [ "$wanted" != "  " ] && [[ "$wanted" != *" ${measurement%%:*} "* ]]; then
    continue
  fi
  WINEDLLOVERRIDES=winmm=${measurement#*:} TRALLIO_WINE_SECONDS=1800 \
    bash scripts/wine-run.sh "$rig/trallio_wine_bench.exe" "${measurement%%:*}" || {
    echo "${measurement%%:*}: wine exited with status $?"
    failed=1
  }
done
bash scripts/wine-prefix.sh --stop "$build/wineprefix" >/dev/null
exit "$failed"
