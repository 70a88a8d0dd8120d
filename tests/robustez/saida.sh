#!/usr/bin/env bash
# A program whose standard output fails must stop and say so with its exit status: it
# must not go on reading commands, hang, or end with status 0.
#
# saida.sh PROGRAM SCRATCH LINE, where LINE is an input line that makes PROGRAM print.
source "$(dirname "$0")/comum.sh"
linha=$3

printf '%s\nq\n' "$linha" | "$programa" > /dev/full 2> erros
esperar_status "disco cheio, q" 1 $?
sem_relatorio "disco cheio, q"

printf '%s\n' "$linha" | "$programa" > /dev/full 2> erros
esperar_status "disco cheio, fim da entrada" 1 $?
sem_relatorio "disco cheio, fim da entrada"

# Endless input: only stopping at the failed write ends it.
yes "$linha" 2> /dev/null | timeout $limite "$programa" > /dev/full 2> erros
esperar_status "disco cheio, entrada sem fim" 1 $?
sem_relatorio "disco cheio, entrada sem fim"

printf '%s\nq\n' "$linha" | "$programa" >&- 2> erros
esperar_status "saida fechada" 1 $?
sem_relatorio "saida fechada"

# The reader of the pipe goes away after one byte. With SIGPIPE at its default the next
# write kills the program; with it ignored, the write fails with EPIPE.
yes "$linha" 2> /dev/null |
  timeout $limite env --default-signal=PIPE "$programa" 2> erros | head -c 1 > /dev/null
esperar_status "cano fechado, SIGPIPE" $((128 + $(kill -l PIPE))) "${PIPESTATUS[1]}"
sem_relatorio "cano fechado, SIGPIPE"

yes "$linha" 2> /dev/null |
  timeout $limite env --ignore-signal=PIPE "$programa" 2> erros | head -c 1 > /dev/null
esperar_status "cano fechado, EPIPE" 1 "${PIPESTATUS[1]}"
sem_relatorio "cano fechado, EPIPE"
