#!/usr/bin/env bash
# A program whose standard output fails must stop and say so with its exit status: it
# must not go on reading commands, hang, or end with status 0.
#
# saida.sh PROGRAM SCRATCH LINE, where LINE is an input line that makes PROGRAM print.
source "$(dirname "$0")/comum.sh"
line=$3

printf '%s\nq\n' "$line" | "$program" > /dev/full 2> errors
expect_status "full disk, q" 1 $?
expect_no_report "full disk, q"

printf '%s\n' "$line" | "$program" > /dev/full 2> errors
expect_status "full disk, end of input" 1 $?
expect_no_report "full disk, end of input"

# Endless input: only stopping at the failed write ends it.
yes "$line" 2> /dev/null | timeout $limit "$program" > /dev/full 2> errors
expect_status "full disk, endless input" 1 $?
expect_no_report "full disk, endless input"

printf '%s\nq\n' "$line" | "$program" >&- 2> errors
expect_status "closed standard output" 1 $?
expect_no_report "closed standard output"

# The pipe's reader goes away after one byte. With SIGPIPE at its default the next write
# kills the program; with SIGPIPE ignored, that write fails with EPIPE.
yes "$line" 2> /dev/null |
  timeout $limit env --default-signal=PIPE "$program" 2> errors | head -c 1 > /dev/null
expect_status "closed pipe, SIGPIPE" $((128 + $(kill -l PIPE))) "${PIPESTATUS[1]}"
expect_no_report "closed pipe, SIGPIPE"

yes "$line" 2> /dev/null |
  timeout $limit env --ignore-signal=PIPE "$program" 2> errors | head -c 1 > /dev/null
expect_status "closed pipe, EPIPE" 1 "${PIPESTATUS[1]}"
expect_no_report "closed pipe, EPIPE"
