#!/usr/bin/env bash
# Makes the wine prefix that the wine-hosted tests run in, once: a fresh prefix whose graphics
# driver is the null driver, so that a game window can exist without a display. A complete prefix
# from an earlier run is kept as it is.
#   scripts/wine-prefix.sh /absolute/path/to/prefix
set -euo pipefail

prefix=${1:?usage: wine-prefix.sh PREFIX}
case "$prefix" in
  /*) ;;
  *) echo "wine-prefix.sh: the prefix must be an absolute path" >&2; exit 2 ;;
esac
marker="$prefix/.trallio-prefix-complete"

export PATH="/usr/lib/wine:$PATH"
export WINEPREFIX="$prefix" WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and asking for them would want a display.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

# Starts the server and the prefix's own services (desktop, devices, ...) for the tests that
# follow, and keeps them up for 15 seconds after the last program ends, so that the tests do not
# each pay for starting them. They are started here, with no output attached, so that they never
# hold a test's output open.
keep_server() {
  wineserver -p15 2>/dev/null || true
  wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
}

if [ -f "$marker" ] && [ -f "$prefix/system.reg" ] && [ -f "$prefix/user.reg" ]; then
  keep_server
  echo "wine prefix ready: $prefix"
  exit 0
fi

# Left over from an interrupted run: stop its server before starting again.
if [ -d "$prefix" ]; then
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
fi
mkdir -p "$(dirname "$prefix")"

echo "creating wine prefix $prefix"
wine64 wineboot --init
wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
# The server writes the registry out when it exits; later processes start with the null driver.
wineserver -w
grep -q '^"Graphics"="null"' "$prefix/user.reg"
touch "$marker"
keep_server
echo "wine prefix ready: $prefix"
