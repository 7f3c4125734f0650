#!/usr/bin/env bash
# Installs everything the build, the tests and the simulator need on a fresh Debian 12 machine.
# Safe to run again: packages already present are left alone, and apt's lists are refreshed only
# when something is missing.
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
  python3
  libtag1-dev libutfcpp-dev dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tag library of the Windows plug-in, from Debian's source package (built once, then cached).
bash "$(dirname "$0")/taglib-mingw.sh"
