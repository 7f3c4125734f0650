#!/usr/bin/env bash
# Makes the simulator's pictures in docs/ (docs/wheel-playing.png, docs/wheel-paused.png) from the
# headless scenario sim/scenarios/screenshots.scn, on a demo library in a game folder of its own,
# docs/wheel-pad.png from sim/scenarios/pad-screenshot.scn with controller=True, and
# docs/wheel-titles.png from screenshots.scn with the zip's settings file (titles=tags).
# Run it again whenever the wheel or the simulator's drawing changes, and commit the pictures.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset native >/dev/null
cmake --build --preset native -j2 --target trallio-sim

game=build/screenshots-game
rm -rf "$game"
mkdir -p "$game"
build/native/sim/trallio-sim --game-dir "$game" --demo --headless sim/scenarios/screenshots.scn --fps 60 \
  --trace "$game/trace.txt"

pad_game=build/screenshots-pad-game
rm -rf "$pad_game"
mkdir -p "$pad_game/Trallio"
printf '[config]\r\ncontroller=True\r\n' >"$pad_game/Trallio/Trallio.ini"
build/native/sim/trallio-sim --game-dir "$pad_game" --demo --headless sim/scenarios/pad-screenshot.scn --fps 60 \
  --trace "$pad_game/trace.txt"
cp "$pad_game/wheel-pad.bmp" "$game/wheel-pad.bmp"

# docs/wheel-titles.png: the first picture of screenshots.scn again, with the settings file the zip
# ships (titles=tags among them), so the wheel shows the track's artist and title from its tags.
titles_game=build/screenshots-titles-game
rm -rf "$titles_game"
mkdir -p "$titles_game/Trallio"
cp package/Trallio/Trallio.ini "$titles_game/Trallio/Trallio.ini"
build/native/sim/trallio-sim --game-dir "$titles_game" --demo --headless sim/scenarios/screenshots.scn --fps 60 \
  --trace "$titles_game/trace.txt"
cp "$titles_game/wheel-playing.bmp" "$game/wheel-titles.bmp"

# The simulator writes BMP; the docs show PNG (Python's standard library is enough to convert).
for name in wheel-playing wheel-paused wheel-pad wheel-titles; do
  python3 - "$game/$name.bmp" "docs/$name.png" <<'PY'
import struct, sys, zlib

data = open(sys.argv[1], "rb").read()
offset, = struct.unpack_from("<I", data, 10)
width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
step = bits // 8
stride = (width * bits + 31) // 32 * 4
rows = []
for y in range(abs(height)):
    row = y if height < 0 else abs(height) - 1 - y  # BMP rows run bottom-up unless the height is negative
    line = data[offset + row * stride: offset + row * stride + width * step]
    rgb = bytearray(width * 3)
    rgb[0::3] = line[2::step]
    rgb[1::3] = line[1::step]
    rgb[2::3] = line[0::step]
    rows.append(b"\0" + bytes(rgb))

def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
open(sys.argv[2], "wb").write(png)
PY
  echo "wrote docs/$name.png"
done
