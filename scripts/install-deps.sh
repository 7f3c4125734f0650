#!/usr/bin/env bash
# Installs everything the build, the tests and the simulator need on a fresh Debian 12 machine.
# Safe to run again: packages already present are left alone, and apt's lists are refreshed (once)
# only when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64
  wine64
  libgstreamer1.0-dev gstreamer1.0-tools gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  gstreamer1.0-plugins-ugly gstreamer1.0-libav
  libsdl2-dev libsdl2-ttf-dev fonts-dejavu-core xvfb xauth
  zip unzip file valgrind
  python3 locales
  libtag1-dev libutfcpp-dev dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# TagLib's source package, for the Windows plug-in, comes through apt: unless apt has a source
# entry already, one is written beside the machine's package entries, with the same archives, so
# no address is kept in this repository.
sources_added=0
if ! apt-get source --print-uris taglib >/dev/null 2>&1; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      >/etc/apt/sources.list.d/trallio-deb-src.sources
  fi
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >/etc/apt/sources.list.d/trallio-deb-src.list
  fi
  sources_added=1
fi

# One refresh of apt's lists, and only when something is missing.
if [ "${#missing[@]}" -gt 0 ] || [ "$sources_added" -eq 1 ]; then
  apt-get update -qq
fi
if [ "${#missing[@]}" -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tag library of the Windows plug-in, from Debian's source package (built once, then cached).
bash "$(dirname "$0")/taglib-mingw.sh"
