// The search player's move: exhaustive minimax for the side to move.
#pragma once

#include "search/minimax.h"

namespace velha {

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
};
NOTAS_DA_RAIZ notasDaRaiz(JOGO j, opcao op, int nivelAtual);

}  // namespace velha
