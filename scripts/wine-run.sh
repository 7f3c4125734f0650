#!/usr/bin/env bash
# Runs a Windows program under wine64 and passes on its output and exit status:
#   scripts/wine-run.sh PROGRAM.exe [ARGUMENTS...]
# The output goes through a file, not straight to the caller: the prefix's background processes
# that the program starts outlive it for a while and keep what they inherited open, so a pipe
# from the caller (CTest's) would stay open and keep the caller waiting for them.
set -uo pipefail

log=$(mktemp)
wine64 "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
rm -f "$log"
exit "$status"
