#!/usr/bin/env bash
# Builds the tag library for the Windows plug-in: Debian's own source package of TagLib, at the
# version of the installed libtag1-dev, cross-built with mingw-w64 as a static library into
# build/taglib/mingw. Built once: a later run finds the stamp of that version and does nothing.
#
# The source comes through apt, from the source entry that scripts/install-deps.sh makes.
set -euo pipefail
cd "$(dirname "$0")/.."

root=build/taglib
prefix=$root/mingw
version=$(dpkg-query -W -f='${source:Version}' libtag1-dev)
stamp=$prefix/built-from-taglib-$version
if [ -f "$stamp" ]; then
  exit 0
fi

if ! apt-get source --print-uris "taglib=$version" >/dev/null 2>&1; then
  echo "taglib-mingw: apt finds no source package taglib $version (bash scripts/install-deps.sh adds the source entry)" >&2
  exit 1
fi

rm -rf "$root/source"
mkdir -p "$root/source"
log=$(pwd)/$root/build.log
(cd "$root/source" && apt-get source -qq "taglib=$version") >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
src=$(find "$root/source" -mindepth 1 -maxdepth 1 -type d -name 'taglib-*' | head -n 1)
if [ -z "$src" ] || [ ! -f "$src/CMakeLists.txt" ]; then
  echo "taglib-mingw: the source package of taglib $version did not unpack" >&2
  exit 1
fi

# Static, no compression library (compressed ID3v2 frames are then skipped), no bindings; the
# UTF-8 helpers come from the header-only libutfcpp-dev, as in Debian's own build.
rm -rf "$root/mingw-build" "$prefix"
cmake -S "$src" -B "$root/mingw-build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$(pwd)/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$(pwd)/$prefix" \
  -DCMAKE_CXX_FLAGS="-isystem /usr/include/utf8cpp" \
  -DBUILD_SHARED_LIBS=OFF -DENABLE_STATIC_RUNTIME=OFF -DWITH_ZLIB=OFF \
  -DBUILD_BINDINGS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF >>"$log" 2>&1 &&
  cmake --build "$root/mingw-build" -j2 >>"$log" 2>&1 &&
  cmake --install "$root/mingw-build" >>"$log" 2>&1 || { tail -n 40 "$log" >&2; exit 1; }

# The licence texts that go into the player's zip.
mkdir -p "$prefix/licence"
cp "$src/COPYING.LGPL" "$src/COPYING.MPL" "$prefix/licence/"
cp "$src/debian/copyright" "$prefix/licence/debian-copyright"
touch "$stamp"
echo "taglib-mingw: built taglib $version into $prefix"
