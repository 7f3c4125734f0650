#!/usr/bin/env bash
# Makes the wine prefix that the wine-hosted tests run in, once: a fresh prefix whose graphics
# driver is the null driver, so that a game window can exist without a display. A complete prefix
# from an earlier run is kept as it is. Then starts the prefix's server for the run; --stop ends
# it (and anything still running in the prefix) after the run.
#   scripts/wine-prefix.sh /absolute/path/to/prefix
#   scripts/wine-prefix.sh --stop /absolute/path/to/prefix
set -euo pipefail

stop=0
if [ "${1:-}" = --stop ]; then
  stop=1
  shift
fi
prefix=${1:?usage: wine-prefix.sh [--stop] PREFIX}
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

# Ends the prefix's server, if one is running, and waits until it has gone.
end_server() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# Starts the server and the prefix's own services (desktop, devices, ...) for the tests that
# follow, and keeps them up between tests, however far apart, for up to 10 minutes after the last
# program ends (the run's end stops them sooner: --stop): no test pays for starting them, and none
# starts while they shut down. A server left from an earlier run, whatever it was started with,
# is ended first. They are started here, with no output attached, so that they never hold a
# test's output open.
# The program that starts them turns wine's crash dialog off: a program that crashes then prints
# its backtrace and ends, instead of waiting for ever, suspended, behind a dialog that nobody sees
# on the null display.
keep_server() {
  end_server
  wineserver -p600 2>/dev/null || true
  wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
}

if [ "$stop" -eq 1 ]; then
  end_server
  echo "wine server stopped: $prefix"
  exit 0
fi

if [ -f "$marker" ] && [ -f "$prefix/system.reg" ] && [ -f "$prefix/user.reg" ]; then
  keep_server
  echo "wine prefix ready: $prefix"
  exit 0
fi

# Left over from an interrupted run: stop its server before starting again.
if [ -d "$prefix" ]; then
  end_server
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
