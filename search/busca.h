// The search player's move: exhaustive minimax for the side to move.
#pragma once

#include "search/minimax.h"

namespace velha {

// The search player's Politica: wins scored on baseDaBusca, a `min` level's choice kept
// nowhere.
struct POLITICA_DA_BUSCA : POLITICA_SEM_OBSERVADOR {
  static constexpr int baseDaVitoria = baseDaBusca;
  static void escolhaDoMin(JOGO*, JOGADA) {}
};

// Scored on baseDaBusca (search/placar.h).
// op is the side of the player to move and nivelAtual the caller's depth; the console
// searches with min and 0, so a negative score is good for the player to move.
JOGADA_VALOR buscaMaxMin(JOGO j, opcao op, int nivelAtual);

// Every candidate of the root with its score, in cell order: the scores among which
// buscaMaxMin chooses (the first of the best), each read by lerPlacar as the verdict of
// playing that cell. None for a finished game.
struct NOTAS_DA_RAIZ {
  int quantidade;
  JOGADA_VALOR candidatos[totalDeCasas];
  JOGADA_VALOR escolhida;  // what buscaMaxMin returns: semCandidato for a finished game
};
NOTAS_DA_RAIZ notasDaRaiz(JOGO j, opcao op, int nivelAtual);

}  // namespace velha
