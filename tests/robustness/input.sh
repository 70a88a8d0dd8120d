#!/usr/bin/env bash
# Hostile but readable input does only what the same session with ordinary input does:
# each pair of inputs below must give the same output, with status 0. Input that cannot
# be read at all ends the program with status 1.
#
# input.sh PROGRAM SCRATCH
source "$(dirname "$0")/common.sh"

megabyte=$((1024 * 1024))
repeat() { head -c "$2" < /dev/zero | tr '\0' "$1"; }

# same_output CASE: runs the program on the files `hostile` and `ordinary` and compares.
same_output() {
  timeout $limit "$program" < hostile > output.hostile 2> errors
  expect_status "$1" 0 $?
  expect_no_report "$1"
  "$program" < ordinary > output.ordinary 2> errors
  cmp -s output.hostile output.ordinary || fail "$1: output differs from an ordinary session"
}

# /dev/null is no file of ours, so same_output cannot be used for it.
"$program" < /dev/null > output.hostile 2> errors
expect_status "/dev/null" 0 $?
expect_no_report "/dev/null"
printf 'q\n' > ordinary
"$program" < ordinary > output.ordinary 2> errors
cmp -s output.hostile output.ordinary || fail "/dev/null: more than the start-up output"

# Input that opens but cannot be read is a failure, not an end of input.
"$program" < . > output.hostile 2> errors
expect_status "a folder as input" 1 $?
expect_reason "a folder as input" "standard input"
cmp -s output.hostile output.ordinary || fail "a folder as input: more than the start-up output"

{ printf 'x'; repeat y $megabyte; printf '\nj 4\n\n'; } > hostile
printf 'x\nj 4\n\n' > ordinary
same_output "1 MB line"

{ printf 'j '; repeat 9 $megabyte; printf '\nj 4\n'; } > hostile
printf 'j 99999999999\nj 4\n' > ordinary
same_output "1 MB number"

{ printf 'j'; repeat ' ' $megabyte; printf '4\n'; } > hostile
printf 'j 4\n' > ordinary
same_output "1 MB of spaces before the number"

{ printf 'j 4\n'; repeat y $megabyte; } > hostile
printf 'j 4\ny' > ordinary
same_output "1 MB line without a line end"

# A non-blocking pipe, as some drivers hand over, written only after the program has
# started waiting: the same session as through a blocking pipe.
if [[ $target_system != Windows ]]; then
  printf 'b\nq\n' > ordinary
  "$program" < ordinary > output.ordinary 2> errors
  python3 - "$program" > output.hostile 2> errors << 'PYTHON'
import fcntl, os, subprocess, sys, time
leitura, escrita = os.pipe()
fcntl.fcntl(leitura, fcntl.F_SETFL, fcntl.fcntl(leitura, fcntl.F_GETFL) | os.O_NONBLOCK)
programa = subprocess.Popen([sys.argv[1]], stdin=leitura)
os.close(leitura)
time.sleep(0.5)
os.write(escrita, b"b\nq\n")
os.close(escrita)
sys.exit(programa.wait())
PYTHON
  expect_status "a non-blocking pipe" 0 $?
  expect_no_report "a non-blocking pipe"
  cmp -s output.hostile output.ordinary || fail "a non-blocking pipe: output differs from a blocking one"
fi
