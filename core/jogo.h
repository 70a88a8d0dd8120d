// The game core: a tic-tac-toe position, its rules and its console report.
// It keeps no state of its own; every operation works on the record it is given.
// The rules are inline because the exhaustive searches apply every move through them.
#pragma once

#include <array>

enum jogador { j1 = 0, j2 = 1, empate = 2 };

using JOGADA = int;

inline constexpr int totalDeCasas = 9;
inline constexpr int casaX = -1;
inline constexpr int casaVazia = 0;
inline constexpr int casaO = 1;

struct JOGO {
  int A[totalDeCasas];  // cells 0..8, row by row: casaX, casaVazia or casaO
  jogador jogadorAtual;
  int jogadas;  // marks placed so far
};

// Element 0 is the count n; elements 1..n are the free cells in ascending order.
struct LISTA_DE_JOGADAS {
  int jogadas[totalDeCasas + 1];
};

struct JOGADA_VALOR {
  JOGADA j;
  int v;
};

struct LINHA {
  int casas[3];
};

// Tested in this order; the first complete line decides, and its winner is read
// from the line's first cell.
inline constexpr std::array<LINHA, 8> linhas{{
    {{0, 1, 2}},
    {{3, 4, 5}},
    {{6, 7, 8}},
    {{0, 3, 6}},
    {{1, 4, 7}},
    {{2, 5, 8}},
    {{2, 4, 6}},
    {{0, 4, 8}},
}};

inline constexpr int marcasNaLinha = 3;

inline void inicializarJogo(JOGO* j, jogador jog) {
  *j = JOGO{};
  j->jogadorAtual = jog;
}

inline int valorDoJogador(jogador jog) { return jog == j1 ? casaX : casaO; }

inline jogador jogadorDoValor(int v) { return v == casaX ? j1 : j2; }

inline jogador outroJogador(jogador jog) { return jog == j1 ? j2 : j1; }

inline bool linhaCompleta(const JOGO& j, const LINHA& linha) {
  const int soma = j.A[linha.casas[0]] + j.A[linha.casas[1]] + j.A[linha.casas[2]];
  return soma == marcasNaLinha || soma == -marcasNaLinha;
}

inline bool fimDeJogo(JOGO j, jogador* vitorioso) {
  for (const LINHA& linha : linhas) {
    if (linhaCompleta(j, linha)) {
      *vitorioso = jogadorDoValor(j.A[linha.casas[0]]);
      return true;
    }
  }
  if (j.jogadas == totalDeCasas) {
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
  if (jogoEncerrado(*j)) return false;
  if (j->jogadas == totalDeCasas) return false;
  if (j->A[posicao] != casaVazia) return false;
  j->A[posicao] = valorDoJogador(jog);
  ++j->jogadas;
  j->jogadorAtual = outroJogador(jog);
  return true;
}

// A finished game has no legal move, even with free cells.
inline LISTA_DE_JOGADAS listaDeJogadas(JOGO* j) {
  LISTA_DE_JOGADAS lista{};
  if (jogoEncerrado(*j)) return lista;
  int& quantidade = lista.jogadas[0];
  for (int casa = 0; casa < totalDeCasas; ++casa) {
    if (j->A[casa] == casaVazia) lista.jogadas[++quantidade] = casa;
  }
  return lista;
}

void imprimirTabuleiro(JOGO j);

// The board and, once the game is over, the result.
void meuLog(JOGO j);
