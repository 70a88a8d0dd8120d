#include "generator/gerador.h"

#include <cstdio>

namespace velha {

void salvarEstadoRegra(JOGO* j, JOGADA jog) {
  if (jog < 0 || jog >= totalDeCasas) return;
  const int chave = indiceDeUmDadoTabuleiro(j);
  if (!chaveNoDicionario(chave)) return;
  gravarRegra(chave, regraDaCasa(jog));
}

namespace {

// A `min` level records its choice without salvarEstadoRegra's checks, a measurable part
// of every node scribe searches. They cannot fail there: the choice is one of the level's
// candidates, and a position with a candidate has no complete line. No row of such a board
// weighs more, for its key, than two of the opponent's marks and a free cell, and even that
// board's key fits the table.
static_assert([] {
  JOGO maisPesado{
      {casaO, casaO, casaVazia, casaO, casaO, casaVazia, casaO, casaO, casaVazia}, j1, 6};
  return chaveNoDicionario(indiceDeUmDadoTabuleiro(&maisPesado));
}());

}  // namespace

JOGADA_VALOR gerarJogadas(JOGO j, opcao op, int nivelAtual) {
  return buscarExaustivamente<POLITICA_DO_GERADOR>(j, op, nivelAtual);
}

void gerarJogadasAux(JOGO* j, jogador* /*jog*/) { gerarJogadas(*j, min, 0); }

void imprimirRegras() { imprimirDicionario(stdout); }

}  // namespace velha
