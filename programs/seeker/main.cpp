// seeker: tic-tac-toe at the console, with an automatic move found by exhaustive search.
#include <cstdio>
#include <cstdlib>

#include "console/console.h"
#include "search/busca.h"

namespace velha {
namespace {

void help() { imprimirAjuda("buscaMaxMin"); }

void imprimirVeredito(JOGADA_VALOR res) {
  // A game decided at depth d scores baseDaBusca - d, so this counts the moves still
  // to come after this one.
  const int fimEstimado = res.v == 0 ? 0 : baseDaBusca - 1 - std::abs(res.v);
  if (res.v == 0) {
    std::printf("melhor jogada: %d [empate estimado]\n", res.j);
  } else if (res.v < 0 && fimEstimado == 0) {
    std::printf("melhor jogada: %d [jogador atual ganhou]\n", res.j);
  } else if (res.v < 0) {
    std::printf("melhor jogada: %d [jogador atual ganhara em %d jogada(s)]\n", res.j, fimEstimado);
  } else if (fimEstimado == 0) {
    std::printf("resultado: jog: %d [jogador atual perdeu]\n", res.j);
  } else {
    std::printf("resultado: jog: %d [jogador atual perdera em %d jogada(s)]\n", res.j, fimEstimado);
  }
}

void buscaMM(JOGO* j, jogador* jog) {
  std::printf("Busca Max Min - ");
  const JOGADA_VALOR res = buscaMaxMin(*j, min, 0);
  imprimirVeredito(res);
  realizarJogada(j, jog, res.j);
}

int seeker() {
  JOGO jogo;
  jogador jogadorAtual = j1;
  inicializarJogo(&jogo, jogadorAtual);
  help();
  return executarComandos(&jogo, &jogadorAtual, {buscaMM, help});
}

}  // namespace
}  // namespace velha

int main() { return velha::seeker(); }
