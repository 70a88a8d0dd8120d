// Builds a record by hand for tests, from its cells as text (core/texto.h).
#pragma once

#include "core/jogo.h"
#include "core/texto.h"

namespace velha {

// A board the test writes wrong is empty, and fails the test that uses it.
inline JOGO tabuleiro(const char (&casas)[10], jogador vez) {
  JOGO j;
  inicializarJogo(&j, vez);
  lerCasas(casas, vez, &j);
  return j;
}

// Every filling of the nine cells, reachable in play or not, numbers 0 to 3^9 - 1: digit c
// of the number in base 3 is cell c's value + 1. The mark count is the true one.
inline constexpr int tabuleirosPossiveis = 19683;

inline JOGO tabuleiroDoCodigo(int codigo, jogador vez) {
  JOGO j;
  inicializarJogo(&j, vez);
  for (int casa = 0, resto = codigo; casa < totalDeCasas; ++casa, resto /= 3) {
    j.A[casa] = resto % 3 - 1;
    if (j.A[casa] != casaVazia) ++j.marcas;
  }
  return j;
}

// The number of a board's cells, as tabuleiroDoCodigo reads it.
inline int codigoDoTabuleiro(const JOGO& j) {
  int codigo = 0;
  for (int casa = totalDeCasas - 1; casa >= 0; --casa) codigo = codigo * 3 + (j.A[casa] + 1);
  return codigo;
}

}  // namespace velha
