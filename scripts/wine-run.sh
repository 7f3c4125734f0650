#!/usr/bin/env bash
# Runs a Windows program under wine64 and passes on its output and exit status:
#   scripts/wine-run.sh PROGRAM.exe [ARGUMENTS...]
# The output goes through files, not straight to the caller: the prefix's background processes
# that the program starts outlive it for a while and keep what they inherited open, so a pipe
# from the caller (CTest's) would stay open and keep the caller waiting for them.
# A program still running after TRALLIO_WINE_SECONDS (default 100, under the tests' limit of 120)
# is stopped: what it printed so far is passed on with a line that says so, and the status is 124.
set -uo pipefail

limit=${TRALLIO_WINE_SECONDS:-100}
out=$(mktemp)
err=$(mktemp)
timeout -k 10 "$limit" wine64 "$@" >"$out" 2>"$err" </dev/null
status=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  echo "wine-run.sh: $* was still running after $limit s and was stopped; its output so far is above" >&2
  status=124
fi
exit "$status"
