#!/usr/bin/env bash
# Checks the player's zip: exactly the files and folders the player README promises, the two
# programs really Windows x86-64 ones, TagLib's licence texts, the text files with Windows line
# ends, and the settings file starting with a comment line.
# Usage: scripts/check-package.sh path/to/Trallio-VERSION-win64.zip
#        scripts/check-package.sh --make WINDOWS_BUILD_DIR   (runs CPack there first)
set -euo pipefail
if [ "${1:-}" = "--make" ]; then
  build=${2:?usage: $0 --make WINDOWS_BUILD_DIR}
  (cd "$build" && cpack -G ZIP > /dev/null)
  zip=$(ls -t "$build"/Trallio-*-win64.zip | head -n 1)
else
  zip=${1:?usage: $0 ZIP | --make WINDOWS_BUILD_DIR}
fi

licences=("Trallio/Licences/TagLib.txt" "Trallio/Licences/TagLib COPYING.LGPL.txt"
  "Trallio/Licences/TagLib COPYING.MPL.txt" "Trallio/Licences/TagLib copyright.txt")
expected=$(printf '%s\n' README.txt Trallio.asi TrallioCheck.exe Trallio/ Trallio/Trallio.ini \
  "Trallio/Radio 1/" "Trallio/Radio 2/" "Trallio/Radio 3/" Trallio/Licences/ "${licences[@]}" | sort)
listed=$(unzip -Z1 "$zip" | sort)
if [ "$listed" != "$expected" ]; then
  echo "$zip: unexpected layout (< expected, > in the zip):" >&2
  diff <(echo "$expected") <(echo "$listed") >&2 || true
  exit 1
fi

check_pe() {
  local name=$1 want_dll=$2 kind
  kind=$(unzip -p "$zip" "$name" | file -b -)
  local is_dll=no
  case $kind in *"(DLL)"*) is_dll=yes ;; esac
  case $kind in
    "PE32+ executable"*x86-64*) ;;
    *) echo "$zip: $name is not a Windows x86-64 program: $kind" >&2; exit 1 ;;
  esac
  if [ "$is_dll" != "$want_dll" ]; then
    echo "$zip: $name: expected DLL=$want_dll, got: $kind" >&2
    exit 1
  fi
}
check_pe Trallio.asi yes
check_pe TrallioCheck.exe no

for text in README.txt Trallio/Trallio.ini "${licences[@]}"; do
  if unzip -p "$zip" "$text" | grep -q $'[^\r]$'; then
    echo "$zip: $text has lines without Windows line ends" >&2
    exit 1
  fi
done

# A comment first and no byte order mark: Windows' reader then reads every section of the file.
case $(unzip -p "$zip" Trallio/Trallio.ini) in
  ';'*) ;;
  *) echo "$zip: Trallio/Trallio.ini does not start with a comment line (a byte order mark?)" >&2; exit 1 ;;
esac

unzip -l "$zip"
echo "$zip: layout as the README describes"
