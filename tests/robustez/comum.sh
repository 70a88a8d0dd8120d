# Shared by the robustness scripts: each runs a program the way a person or a shell could
# abuse it and fails on the first surprise. Sourced with the program and a scratch folder.
set -uo pipefail

programa=$1
rascunho=$2
rm -rf "$rascunho" && mkdir -p "$rascunho" && cd "$rascunho" || exit 1
# reader needs a dictionary to start; the other programs never look for one.
: > dicionario.txt

# Long enough for a sanitizer build, short enough that a hang fails the test quickly.
limite=60

falhar() {
  echo "FALHA: $*" >&2
  exit 1
}

# esperar_status CASO ESPERADO OBTIDO
esperar_status() {
  [[ $3 == "$2" ]] || falhar "$1: status $3, esperado $2"
}

# A sanitizer report, or any other complaint, goes to standard error.
sem_relatorio() {
  [[ ! -s erros ]] || falhar "$1: saida de erro nao vazia:
$(head -c 2000 erros)"
}
