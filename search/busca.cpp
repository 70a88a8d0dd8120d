#include "search/busca.h"

namespace velha {

JOGADA_VALOR buscaMaxMin(JOGO j, opcao op, int nivelAtual) {
  return buscarExaustivamente<POLITICA_DA_BUSCA>(j, op, nivelAtual);
}

namespace {

// The search player's Politica, keeping the scores of the root's candidates, whose moves
// are the only ones at their depth. One search at a time, as every search of the project.
struct POLITICA_DAS_NOTAS : POLITICA_DA_BUSCA {
  static inline NOTAS_DA_RAIZ* notas = nullptr;
  static inline int nivelDaRaiz = 0;  // the depth of the root's moves
  static void aoPontuar(int nivel, JOGADA_VALOR candidato) {
    if (nivel == nivelDaRaiz) notas->candidatos[notas->quantidade++] = candidato;
  }
};

}  // namespace

NOTAS_DA_RAIZ notasDaRaiz(JOGO j, opcao op, int nivelAtual) {
  NOTAS_DA_RAIZ notas{};
  POLITICA_DAS_NOTAS::notas = &notas;
  POLITICA_DAS_NOTAS::nivelDaRaiz = nivelAtual + 1;
  notas.escolhida = buscarExaustivamente<POLITICA_DAS_NOTAS>(j, op, nivelAtual);
  return notas;
}

}  // namespace velha
