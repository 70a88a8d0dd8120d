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
exec wine "$@"
