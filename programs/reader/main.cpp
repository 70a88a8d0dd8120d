// reader: tic-tac-toe at the console, with an automatic move taken from the move
// dictionary in "dicionario.txt".
#include <cstdio>

#include "console/console.h"
#include "dictionary/dicionario.h"
#include "lookup/consulta.h"

namespace velha {
namespace {

void help() { imprimirAjuda("buscaNoDicionario"); }

// Widened first, so that no int, not even INT_MIN, overflows.
long long valorAbsoluto(int v) { return v < 0 ? -static_cast<long long>(v) : v; }

void buscaDicionario(JOGO* j, jogador* jog) {
  std::printf("Busca Dicionario - ");
  const JOGADA_VALOR res = jogarDic(j);
  std::printf("melhor jogada: %d [indice buscado: %lld]\n", res.j, valorAbsoluto(res.v));
  realizarJogada(j, jog, res.j);
}

int reader() {
  inicializarJogadas();
  leDicionario();
  JOGO jogo;
  jogador jogadorAtual = j1;
  inicializarJogo(&jogo, jogadorAtual);
  help();
  return executarComandos(&jogo, &jogadorAtual, {buscaDicionario, help});
}

}  // namespace
}  // namespace velha

int main() { return velha::reader(); }
