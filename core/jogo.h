// The game core: a tic-tac-toe position, its rules and its console report.
// It keeps no state of its own; every operation works on the record it is given.
// The rules are inline because the exhaustive searches apply every move through them.
#pragma once

#include "core/linhas.h"

// Every name of the project lives in this namespace: some of them (j1) are also POSIX
// functions of <math.h>, which any standard header may bring in.
namespace velha {

// A side (j1 is X, who starts; j2 is O), and, as fimDeJogo's winner, empate for a draw.
enum jogador { j1 = 0, j2 = 1, empate = 2 };

// A move: the cell played, 0 to 8 (or a rule's cell, which may lie outside them).
using JOGADA = int;

inline constexpr int casaX = -1;
inline constexpr int casaVazia = 0;
inline constexpr int casaO = 1;
static_assert(casaX == -1 && casaVazia == 0 && casaO == 1, "the line sums count on these values");

struct JOGO {
  int A[totalDeCasas];  // cells 0..8, row by row: casaX, casaVazia or casaO
  jogador jogadorAtual;
  int marcas;  // marks placed so far
};

// Element 0 is the count n; elements 1..n are the free cells in ascending order.
struct LISTA_DE_JOGADAS {
  int jogadas[totalDeCasas + 1];
};

// A move and a number that goes with it: the search's score, or the dictionary's key.
struct JOGADA_VALOR {
  JOGADA j;
  int v;
};

inline void inicializarJogo(JOGO* j, jogador jog) {
  *j = JOGO{};
  j->jogadorAtual = jog;
}

inline int valorDoJogador(jogador jog) { return jog == j1 ? casaX : casaO; }

inline jogador jogadorDoValor(int v) { return v == casaX ? j1 : j2; }

inline jogador outroJogador(jogador jog) { return jog == j1 ? j2 : j1; }

// The first complete line in table order decides who has won (see core/linhas.h).
inline bool fimDeJogo(JOGO j, jogador* vitorioso) {
  if (const std::uint32_t somas = somasDasLinhas(j.A); haLinhaCompleta(somas)) {
    *vitorioso = jogadorDoValor(valorDaPrimeiraLinhaCompleta(somas));
    return true;
  }
  if (j.marcas == totalDeCasas) {
    *vitorioso = empate;
    return true;
  }
  return false;
}

inline bool jogoEncerrado(const JOGO& j) {
  jogador descartado;
  return fimDeJogo(j, &descartado);
}

inline bool inserirJogada(JOGO* j, int posicao, jogador jog) {
  if (posicao < 0 || posicao >= totalDeCasas) return false;
  if (jog != j->jogadorAtual) return false;
  if (jogoEncerrado(*j)) return false;  // a full board included
  if (j->A[posicao] != casaVazia) return false;
  j->A[posicao] = valorDoJogador(jog);
  ++j->marcas;
  j->jogadorAtual = outroJogador(jog);
  return true;
}

// A finished game has no legal move, even with free cells.
inline LISTA_DE_JOGADAS listaDeJogadas(JOGO* j) {
  // Only the count and the cells it covers are written: the elements past the count are
  // never read, and clearing them was a measurable part of every search node.
  LISTA_DE_JOGADAS lista;
  std::size_t quantidade = 0;  // unsigned, so that no append widens a signed index first
  if (!jogoEncerrado(*j)) {
    for (int casa = 0; casa < totalDeCasas; ++casa) {
      if (j->A[casa] == casaVazia) lista.jogadas[++quantidade] = casa;
    }
  }
  lista.jogadas[0] = static_cast<int>(quantidade);
  return lista;
}

void imprimirTabuleiro(JOGO j);

// The board and, once the game is over, the result: what the loop prints at a line end.
void meuLog(JOGO j);

}  // namespace velha
