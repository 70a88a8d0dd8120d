#!/usr/bin/env bash
# Hostile but readable input changes nothing but what the same session with ordinary
# input would do: each pair of inputs below must give the same output and status 0.
#
# entrada.sh PROGRAM SCRATCH
source "$(dirname "$0")/comum.sh"

megabyte=$((1024 * 1024))
repetir() { head -c "$2" < /dev/zero | tr '\0' "$1"; }

# mesma_saida CASO: compares the program's runs on the files hostil and comum.
mesma_saida() {
  timeout $limite "$programa" < hostil > saida.hostil 2> erros
  esperar_status "$1" 0 $?
  sem_relatorio "$1"
  "$programa" < comum > saida.comum 2> erros
  cmp -s saida.hostil saida.comum || falhar "$1: saida difere de uma sessao comum"
}

cp /dev/null comum
"$programa" < /dev/null > saida.hostil 2> erros
esperar_status "/dev/null" 0 $?
sem_relatorio "/dev/null"
printf 'q\n' > comum
"$programa" < comum > saida.comum 2> erros
cmp -s saida.hostil saida.comum || falhar "/dev/null: mais que o inicio"

{ printf 'x'; repetir y $megabyte; printf '\nj 4\n\n'; } > hostil
printf 'x\nj 4\n\n' > comum
mesma_saida "linha de 1 MB"

{ printf 'j '; repetir 9 $megabyte; printf '\nj 4\n'; } > hostil
printf 'j 99999999999\nj 4\n' > comum
mesma_saida "numero de 1 MB"

{ printf 'j'; repetir ' ' $megabyte; printf '4\n'; } > hostil
printf 'j 4\n' > comum
mesma_saida "1 MB de espacos antes do numero"

{ printf 'j 4\n'; repetir y $megabyte; } > hostil
printf 'j 4\ny' > comum
mesma_saida "linha de 1 MB sem fim"
