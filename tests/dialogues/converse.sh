#!/usr/bin/env bash
# Drives a program through plain pipes the way a front-end does: sends one line, waits a
# few seconds at most for each line of the reply, and only then sends the next. Fails if
# a reply does not arrive, or differs by a byte, or if anything follows the last one.
#
# converse.sh PROGRAM SCRATCH DIALOGUE [DICTIONARY]
#
# In DIALOGUE a line that starts with "> " is sent (without that mark); every other line is
# a line of output expected, in order, before the next line is sent. DICTIONARY, if given,
# is placed in the scratch folder as dicionario.txt.
set -uo pipefail
program=$(realpath "$1")
scratch=$2
dialogue=$(realpath "$3")
rm -rf "$scratch" && mkdir -p "$scratch" || exit 1
[[ $# -lt 4 ]] || cp "$4" "$scratch/dicionario.txt" || exit 1
cd "$scratch" || exit 1

# Long enough for a search under the sanitizers, short enough to fail a hang quickly.
timeout=10

fail() {
  echo "FAIL: $*" >&2
  [[ -s errors ]] && head -c 2000 errors >&2
  exit 1
}

coproc PROGRAM { exec "$program" 2> errors; }
pid=$PROGRAM_PID
# Copies of the pipe ends: bash drops its own once the program has ended.
exec {reply_fd}<&"${PROGRAM[0]}" {request_fd}>&"${PROGRAM[1]}"
trap 'kill "$pid" 2> /dev/null' EXIT

sent="(start)"
while IFS= read -r line; do
  if [[ $line == "> "* ]]; then
    sent=${line#> }
    printf '%s\n' "$sent" >&"$request_fd" || fail "could not send '$sent'"
  else
    IFS= read -r -t "$timeout" -u "$reply_fd" reply ||
      fail "after '$sent': no reply within $timeout s; expected '$line'"
    [[ $reply == "$line" ]] || fail "after '$sent': got '$reply', expected '$line'"
  fi
done < "$dialogue"

# The dialogue ends with the program's quitting: its output must end there too.
if IFS= read -r -t "$timeout" -u "$reply_fd" reply; then
  fail "after '$sent': unexpected output '$reply'"
fi
wait "$pid"
status=$?
[[ $status == 0 ]] || fail "exit status $status, expected 0"
[[ ! -s errors ]] || fail "standard error is not empty"
