// Exhaustive minimax over the game core: every continuation is played out, with no
// pruning and no memory of positions. The search player and the dictionary generator
// share this skeleton and differ only in their Politica: the base a win is scored on,
// and what a `min` level does with the cell it chose.
#pragma once

#include "core/jogo.h"

namespace velha {

enum opcao { max = 0, min = 1 };

// a when it is strictly better for op than b; b otherwise, so ties keep b.
constexpr int minMax(int a, int b, opcao op) {
  return (op == min && a < b) || (op == max && a > b) ? a : b;
}

constexpr opcao outraOpcao(opcao op) { return op == max ? min : max; }

// Starting score of a candidate: worse than any real score for the level's side.
constexpr int sentinela(opcao op) { return op == min ? 99999999 : -99999999; }

// A root that is already finished has no candidate to name: cell -1, scored as a draw,
// or as a loss of the side to move when somebody has won.
inline constexpr JOGADA semCandidato = -1;
inline constexpr int valorDeJogoPerdido = 9;

// A win made by the move at depth d scores d - base for the `min` side and base - d for
// the `max` side, so a quicker win weighs more.
template <opcao op>
constexpr int valorDaVitoria(int base, int nivel) {
  return op == min ? nivel - base : base - nivel;
}

template <opcao op, class Politica>
JOGADA_VALOR buscarNivel(JOGO j, int nivelAtual) {
  ++nivelAtual;
  const LISTA_DE_JOGADAS candidatos = listaDeJogadas(&j);
  const int quantidade = candidatos.jogadas[0];
  if (quantidade == 0) {
    jogador vitorioso = empate;
    fimDeJogo(j, &vitorioso);
    return {semCandidato, vitorioso == empate ? 0 : valorDeJogoPerdido};
  }

  JOGADA_VALOR escolhida{candidatos.jogadas[1], sentinela(op)};
  // Every candidate starts from this copy. No pointer to it is ever made, so the compiler
  // knows nothing in the loop changes it (the parameter, to the compiler, is memory a call
  // might reach): it keeps the cells in registers and drops inserirJogada's end-of-game
  // test before each move, which listaDeJogadas has already answered for this position.
  const JOGO posicao = j;
  for (int i = 1; i <= quantidade; ++i) {
    const JOGADA jogada = candidatos.jogadas[i];
    JOGO temp = posicao;
    inserirJogada(&temp, jogada, temp.jogadorAtual);
    jogador vitorioso;
    int valor;
    if (!fimDeJogo(temp, &vitorioso)) {
      valor = buscarNivel<outraOpcao(op), Politica>(temp, nivelAtual).v;
    } else if (vitorioso == empate) {
      valor = 0;
    } else {
      // Only the player who just moved can have won.
      valor = valorDaVitoria<op>(Politica::baseDaVitoria, nivelAtual);
    }
    // Ties keep the earlier, lower-numbered cell.
    if (minMax(valor, escolhida.v, op) != escolhida.v) escolhida = {jogada, valor};
  }
  if constexpr (op == min) Politica::escolhaDoMin(&j, escolhida.j);
  return escolhida;
}

template <class Politica>
JOGADA_VALOR buscarExaustivamente(JOGO j, opcao op, int nivelAtual) {
  return op == min ? buscarNivel<min, Politica>(j, nivelAtual)
                   : buscarNivel<max, Politica>(j, nivelAtual);
}

}  // namespace velha
