// Builds a record by hand for tests: 'X', 'O' or '.' per cell, row by row.
#pragma once

#include "core/jogo.h"

namespace velha {

inline JOGO tabuleiro(const char (&casas)[10], jogador vez) {
  JOGO j;
  inicializarJogo(&j, vez);
  for (int c = 0; c < totalDeCasas; ++c) {
    j.A[c] = casas[c] == 'X' ? casaX : casas[c] == 'O' ? casaO : casaVazia;
    if (j.A[c] != casaVazia) ++j.jogadas;
  }
  return j;
}

}  // namespace velha
