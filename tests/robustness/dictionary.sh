#!/usr/bin/env bash
# reader with dictionary files that are large, endless, or that exist but cannot be read.
#
# dictionary.sh READER SCRATCH
source "$(dirname "$0")/common.sh"

# 10 MiB of one valid line repeated, then one more rule for the same key: the last wins.
yes '10597 4' | head -n $((10 * 1024 * 1024 / 8)) > dicionario.txt
printf '10597 0\n' >> dicionario.txt
printf 'b\nq\n' | timeout $limit "$program" > output 2> errors
expect_status "10 MB dictionary" 0 $?
expect_no_report "10 MB dictionary"
grep -qxF 'Busca Dicionario - melhor jogada: 0 [indice buscado: 10597]' output ||
  fail "10 MB dictionary: the last rule did not win"

# Opening succeeds in both cases; the first read fails (EISDIR, EIO).
printf "Nao foi possivel abrir o arquivo de jogadas 'dicionario.txt'.\n" > expected
for kind in folder memory; do
  rm -rf dicionario.txt
  case $kind in
    folder) mkdir dicionario.txt ;;
    memory) ln -s /proc/self/mem dicionario.txt ;;
  esac
  printf 'q\n' | "$program" > output 2> errors
  expect_status "unreadable dictionary ($kind)" 1 $?
  expect_reason "unreadable dictionary ($kind)" dicionario.txt
  cmp -s output expected || fail "unreadable dictionary ($kind): $(cat output)"
done

# Endless bytes that are no dictionary: refused at the first, at once.
rm -rf dicionario.txt
ln -s /dev/zero dicionario.txt
printf "Arquivo de jogadas 'dicionario.txt' invalido na linha 1.\n" > expected
printf 'q\n' | timeout 5 "$program" > output 2> errors
expect_status "/dev/zero as the dictionary" 1 $?
cmp -s output expected || fail "/dev/zero as the dictionary: $(cat output)"

# No dictionary and no file named: the reason, then this build's complete dictionary as a
# command to copy, which plays.
rm -rf dicionario.txt
"$program" < /dev/null > output 2> errors
expect_status "no dictionary" 1 $?
hint="reader: to play from the complete dictionary: reader "
[[ $(wc -l < errors) == 2 && $(sed -n 2p errors) == "$hint"* ]] ||
  fail "no dictionary: no hint on standard error: $(cat errors)"
complete=$(sed -n 2p errors)
complete=${complete#"$hint"}
printf 'b\nq\n' | "$program" "$complete" > output 2> errors
grep -qxF 'Busca Dicionario - melhor jogada: 0 [indice buscado: 10597]' output ||
  fail "the hint's dictionary, $complete, did not play"
