// The dictionary generator: an exhaustive search that records, for every position in
// which the root's player is to move, the cell it chose; and the listing of the table
// as the lines of a dictionary file.
#pragma once

#include "dictionary/dicionario.h"
#include "search/minimax.h"

namespace velha {

// The generator's Politica: wins scored on baseDoGerador, and a `min` level's choice
// recorded as the rule of its position. The check salvarEstadoRegra makes cannot fail
// there (gerador.cpp shows why), and is left out: it was a measurable part of every node.
struct POLITICA_DO_GERADOR : POLITICA_SEM_OBSERVADOR {
  static constexpr int baseDaVitoria = baseDoGerador;
  static void escolhaDoMin(JOGO* j, JOGADA escolhida) {
    gravarRegra(indiceDeUmDadoTabuleiro(j), regraDaCasa(escolhida));
  }
};

// The arguments of buscaMaxMin, scored on baseDoGerador (search/placar.h), so that rules
// written from the empty board differ from those of deeper roots where a win by the ninth
// mark counts as a draw; a later, deeper search overwrites them. Every `min` level records
// its choice under its own position's key. A finished root has no candidate and records
// nothing.
JOGADA_VALOR gerarJogadas(JOGO j, opcao op, int nivelAtual);

// table[key of *j] = regraDaCasa(jog). Ignored for a cell outside 0..8 or a key beyond the
// table, which only a finished position can have.
void salvarEstadoRegra(JOGO* j, JOGADA jog);

// The `b` command: a search rooted at the side to move. The caller's game is not
// changed and its turn is not used.
void gerarJogadasAux(JOGO* j, jogador* jog);

// The `i` command: the table as the lines of a dictionary file (imprimirDicionario).
void imprimirRegras();

}  // namespace velha
