#!/usr/bin/env bash
# reader and dictionary files that are large, or that exist but cannot be read.
#
# dicionario.sh READER SCRATCH
source "$(dirname "$0")/comum.sh"

# 10 MiB of one valid line repeated, then one rule more for the same key: the last wins.
yes '10597 4' | head -n $((10 * 1024 * 1024 / 8)) > dicionario.txt
printf '10597 0\n' >> dicionario.txt
printf 'b\nq\n' | timeout $limite "$programa" > saida 2> erros
esperar_status "dicionario de 10 MB" 0 $?
sem_relatorio "dicionario de 10 MB"
grep -qxF 'Busca Dicionario - melhor jogada: 0 [indice buscado: 10597]' saida ||
  falhar "dicionario de 10 MB: a ultima regra nao valeu"

# Opening succeeds in both cases; the first read fails (EISDIR, EIO).
for caso in pasta memoria; do
  rm -rf dicionario.txt
  case $caso in
    pasta) mkdir dicionario.txt ;;
    memoria) ln -s /proc/self/mem dicionario.txt ;;
  esac
  printf 'q\n' | "$programa" > saida 2> erros
  esperar_status "dicionario ilegivel ($caso)" 1 $?
  sem_relatorio "dicionario ilegivel ($caso)"
  printf "Nao foi possivel abrir o arquivo de jogadas 'dicionario.txt'.\n" > esperado
  cmp -s saida esperado || falhar "dicionario ilegivel ($caso): $(cat saida)"
done
