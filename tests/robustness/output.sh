#!/usr/bin/env bash
# A program whose standard output fails must stop and say so: it must not go on reading
# commands, wait for input it can no longer answer, or end with status 0.
#
# output.sh PROGRAM SCRATCH LINE, where LINE is an input line that makes PROGRAM print.
source "$(dirname "$0")/common.sh"
line=$3

printf '%s\nq\n' "$line" | "$program" > /dev/full 2> errors
expect_status "full disk, q" 1 $?
expect_reason "full disk, q" "standard output"

printf '%s\n' "$line" | "$program" > /dev/full 2> errors
expect_status "full disk, end of input" 1 $?
expect_reason "full disk, end of input" "standard output"

# Endless input: only stopping at the failed write ends it.
yes "$line" 2> /dev/null | timeout $limit "$program" > /dev/full 2> errors
expect_status "full disk, endless input" 1 $?
expect_reason "full disk, endless input" "standard output"

# Input that stays open and idle: the program must stop when the flush before its wait
# fails, not wait out the input (timeout's 124).
mkfifo idle
{ printf '%s\n' "$line"; exec sleep 30; } > idle &
writer=$!
timeout 5 "$program" > /dev/full 2> errors < idle
status=$?
kill $writer 2> /dev/null
expect_status "full disk, idle input" 1 $status
expect_reason "full disk, idle input" "standard output"

# node, which runs the web build here, opens /dev/null in place of a closed standard
# stream, so a program under it never finds one closed.
if [[ $target_system != Emscripten ]]; then
  printf '%s\nq\n' "$line" | "$program" >&- 2> errors
  expect_status "closed standard output" 1 $?
  expect_reason "closed standard output" "standard output"
fi

# The pipe's reader goes away after one byte. With SIGPIPE at its default the next write
# kills the program; with SIGPIPE ignored, that write fails with EPIPE. Windows has no
# SIGPIPE, and node (the web build's) ignores it: there the write always fails, and the
# program ends with status 1.
killed_by_sigpipe=$((128 + $(kill -l PIPE)))
[[ $target_system == Windows || $target_system == Emscripten ]] && killed_by_sigpipe=1
yes "$line" 2> /dev/null |
  timeout $limit env --default-signal=PIPE "$program" 2> errors | head -c 1 > /dev/null
expect_status "closed pipe, SIGPIPE" $killed_by_sigpipe "${PIPESTATUS[1]}"

yes "$line" 2> /dev/null |
  timeout $limit env --ignore-signal=PIPE "$program" 2> errors | head -c 1 > /dev/null
expect_status "closed pipe, EPIPE" 1 "${PIPESTATUS[1]}"
expect_reason "closed pipe, EPIPE" "standard output"
