// The game tree for tests: every position that play can reach, walked through the core's
// own rules, as the oracles that check the core, the key, the generator, the search and
// the complete dictionary need it.
#pragma once

#include "core/jogo.h"

namespace velha {

inline constexpr int seguirTodas = -1;  // walk on from every legal move
inline constexpr int naoSeguir = -2;    // walk on from none

// Calls visitar on j, then walks on from the positions its answer names: those of every
// legal move (seguirTodas), of none (naoSeguir, to spare positions already walked from
// elsewhere, say), or of the one legal move to the cell it names. A finished position has
// no legal move, so every walk ends.
template <class Visitar>
void percorrerJogo(const JOGO& j, Visitar&& visitar) {
  const int seguir = visitar(j);
  if (seguir == naoSeguir) return;
  JOGO posicao = j;
  const LISTA_DE_JOGADAS lista = listaDeJogadas(&posicao);
  for (int i = 1; i <= lista.jogadas[0]; ++i) {
    if (seguir != seguirTodas && lista.jogadas[i] != seguir) continue;
    JOGO filho = j;
    // A refused move, a fault of the core that the callers' counts show, is not followed.
    if (inserirJogada(&filho, lista.jogadas[i], filho.jogadorAtual)) percorrerJogo(filho, visitar);
  }
}

// The walk from the empty board with primeiro to move.
template <class Visitar>
void percorrerJogoDesdeOInicio(jogador primeiro, Visitar&& visitar) {
  JOGO inicio;
  inicializarJogo(&inicio, primeiro);
  percorrerJogo(inicio, visitar);
}

struct PLACAR {
  long vitorias = 0, empates = 0, derrotas = 0;
  long recusadas = 0;  // cells escolher named that were no legal move
};

// Every game from the empty board, primeiro moving first, in which perfeito plays the cell
// escolher(JOGO*) names and its opponent tries every legal move; the outcomes counted for
// perfeito. A cell that is no legal move is counted, and the game not followed.
template <class Escolher>
PLACAR jogarContraTodos(jogador primeiro, jogador perfeito, Escolher escolher) {
  PLACAR placar;
  percorrerJogoDesdeOInicio(primeiro, [&](const JOGO& j) {
    jogador vitorioso = empate;
    if (fimDeJogo(j, &vitorioso)) {
      ++(vitorioso == empate     ? placar.empates
         : vitorioso == perfeito ? placar.vitorias
                                 : placar.derrotas);
      return naoSeguir;
    }
    if (j.jogadorAtual != perfeito) return seguirTodas;
    JOGO posicao = j;
    const JOGADA escolhida = escolher(&posicao);
    JOGO depois = j;
    if (inserirJogada(&depois, escolhida, j.jogadorAtual)) return escolhida;
    ++placar.recusadas;
    return naoSeguir;
  });
  return placar;
}

}  // namespace velha
