#!/bin/sh
# Runs a Windows program under wine, as the Windows build's tests and its dictionary step
# do: without wine's own diagnostics, and with the wine prefix made once, quietly and by
# one process at a time, before the first program runs (making it prints to standard
# error and takes several seconds).
export WINEDEBUG=-all
prefix=${WINEPREFIX:-$HOME/.wine}
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$(dirname "$prefix")"
  flock "$prefix.lock" sh -c '[ -f "$1/system.reg" ] || wineboot --init > /dev/null 2>&1' \
    sh "$prefix"
fi
# The server and wine's own services (which programs start on first need, and which keep
# their starter's streams open while they run), started apart from the caller's streams
# and kept for a minute after the last program: a caller reading a program's output to
# its end (ctest, a pipe) then waits for the program alone, not for the server to go.
if wineserver -p60 < /dev/null > /dev/null 2>&1; then
  wine wineboot < /dev/null > /dev/null 2>&1
fi
exec wine "$@"
