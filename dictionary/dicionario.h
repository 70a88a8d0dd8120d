// The move dictionary: the position key and the table of rules it indexes.
// A rule is the character '0'..'8' of the cell the player to move should take.
#pragma once

#include "core/jogo.h"

namespace velha {

inline constexpr int tamanhoDoDicionario = 19683;  // 3^9
inline constexpr char semRegra = '9';

// One table per program, alive for the whole run.
extern char jogadas[tamanhoDoDicionario];

// Every entry becomes semRegra.
void inicializarJogadas();

constexpr bool chaveNoDicionario(int chave) { return chave >= 0 && chave < tamanhoDoDicionario; }

// The board seen from the player to move (its marks -1, the opponent's +1), one value
// per row with an offset of 14, not 13, and 1 subtracted at the end. Stored dictionaries
// depend on this exact formula: unfinished positions fall within 756..19682, and only a
// finished game can have a key beyond the table.
constexpr int indiceDeUmDadoTabuleiro(JOGO* j) {
  constexpr int colunas = 3;
  constexpr int deslocamentoDaLinha = 14;
  constexpr int basePorLinha = 27;
  const int sinal = j->jogadorAtual == j1 ? 1 : -1;
  int valor[colunas];
  for (int linha = 0; linha < colunas; ++linha) {
    const int primeira = colunas * linha;
    valor[linha] = sinal * (9 * j->A[primeira] + 3 * j->A[primeira + 1] + j->A[primeira + 2]) +
                   deslocamentoDaLinha;
  }
  return (valor[2] * basePorLinha + valor[1]) * basePorLinha + valor[0] - 1;
}

}  // namespace velha
