// Exhaustive minimax over the game core: every continuation is played out, with no
// pruning and no memory of positions. The search player and the dictionary generator
// share this skeleton and differ only in their Politica: the base a win is scored on,
// and what a `min` level does with the cell it chose.
#pragma once

#include <cstdint>

#include "core/jogo.h"
#include "search/placar.h"

namespace velha {

// a when it is strictly better for op than b; b otherwise, so ties keep b.
constexpr int minMax(int a, int b, opcao op) {
  return (op == min && a < b) || (op == max && a > b) ? a : b;
}

constexpr opcao outraOpcao(opcao op) { return op == max ? min : max; }

// Starting score of a candidate: worse than any real score for the level's side.
constexpr int sentinela(opcao op) { return op == min ? 99999999 : -99999999; }

// A root that is already finished has no candidate to name: cell -1, scored as a draw,
// or when somebody has won as the other side's win by a move at depth 1, the depth of the
// root's own moves, scored as every other ending is (for seeker, valorDeJogoPerdido of
// search/placar.h).
inline constexpr JOGADA semCandidato = -1;

// What every Politica may watch: each list of candidates made (aoListar), each move
// applied (aoAplicar), and each candidate scored, with the depth of its move (aoPontuar).
// Nothing in the programs, where the calls vanish; the tests count with the first two that
// a search skips no continuation, and notasDaRaiz keeps the root's scores with the third.
struct POLITICA_SEM_OBSERVADOR {
  static void aoListar() {}
  static void aoAplicar() {}
  static void aoPontuar(int /*nivel*/, JOGADA_VALOR /*candidato*/) {}
};

enum class desfecho { continua, vitoria, empate };

// How a move into an unfinished position ended the game, from the lines' sums after it
// (somasDepois) and the position it made. Before the move no line was complete, so every
// line complete now runs through the cell just taken and holds the mover's marks: the
// move won exactly when some line is complete, and otherwise ended the game only if it
// filled the board. The search knows the sums of the position it moves from and adds the
// move to them, which spares summing the nine cells again as fimDeJogo would; search_test
// shows that this gives fimDeJogo's answer for every move from every unfinished position.
inline desfecho desfechoDaJogada(std::uint32_t somasDepois, const JOGO& depois) {
  if (haLinhaCompleta(somasDepois)) return desfecho::vitoria;
  return depois.marcas == totalDeCasas ? desfecho::empate : desfecho::continua;
}

// One level of the search, for a position j with livres free cells whose lines' sums are
// somas (somasDasLinhas).
//
// Each count of free cells has a function of its own: a move fills one free cell, so a
// level's children are searched by the function for livres - 1, and the recursion is
// bounded where the compiler can see it. It then inlines the whole search below a root
// into one function (gnu::flatten), which spares the calls between levels, a large part
// of what a node costs (see docs/performance.md).
template <opcao op, class Politica, int livres>
[[gnu::flatten]] JOGADA_VALOR buscarNivel(JOGO j, int nivelAtual, std::uint32_t somas) {
  ++nivelAtual;
  const LISTA_DE_JOGADAS candidatos = listaDeJogadas(&j);
  Politica::aoListar();
  const int quantidade = candidatos.jogadas[0];
  if (quantidade == 0) {
    // Only a root can get here: below it, a level is searched only after a move that
    // left the game unfinished, and so with a free cell.
    jogador vitorioso = empate;
    fimDeJogo(j, &vitorioso);
    if (vitorioso == empate) return {semCandidato, 0};
    return {semCandidato, valorDaVitoria<outraOpcao(op)>(Politica::baseDaVitoria, nivelAtual)};
  }

  JOGADA_VALOR escolhida{candidatos.jogadas[1], sentinela(op)};
  // Every candidate starts from this copy, which nothing ever points to. The compiler can
  // then tell that no move in the loop changes it (j has its address taken, for
  // Politica), keep its cells in registers, and drop inserirJogada's end-of-game test
  // before each move, which listaDeJogadas has already answered for this position.
  const JOGO posicao = j;
  for (int i = 1; i <= quantidade; ++i) {
    const JOGADA jogada = candidatos.jogadas[i];
    JOGO filho = posicao;
    // Always accepted: the cell is a candidate of this very position.
    inserirJogada(&filho, jogada, filho.jogadorAtual);
    Politica::aoAplicar();
    const std::uint32_t somasDoFilho = somasComAMarca(somas, jogada, filho.A[jogada]);
    const desfecho fim = desfechoDaJogada(somasDoFilho, filho);
    int valor = 0;  // a draw
    if (fim == desfecho::vitoria) {
      valor = valorDaVitoria<op>(Politica::baseDaVitoria, nivelAtual);
    } else if (fim == desfecho::continua) {
      // A child without a free cell has no candidate, and no complete line either (this
      // move would have won): its search would give 0, the draw valor holds already.
      if constexpr (livres > 1) {
        valor =
            buscarNivel<outraOpcao(op), Politica, livres - 1>(filho, nivelAtual, somasDoFilho).v;
      }
    }
    Politica::aoPontuar(nivelAtual, {jogada, valor});
    // Ties keep the earlier, lower-numbered cell.
    if (minMax(valor, escolhida.v, op) != escolhida.v) escolhida = {jogada, valor};
  }
  if constexpr (op == min) Politica::escolhaDoMin(&j, escolhida.j);
  return escolhida;
}

inline int casasLivres(const JOGO& j) {
  // Whether or not the game is over, unlike listaDeJogadas.
  int livres = 0;
  for (int casa : j.A) livres += casa == casaVazia ? 1 : 0;
  return livres;
}

// The root's level function, by its count of free cells. Direct calls, so that the
// compiler can specialise each for what the caller passes (the depth 0 of the consoles).
template <opcao op, class Politica>
JOGADA_VALOR buscarNaRaiz(JOGO j, int nivelAtual) {
  const std::uint32_t somas = somasDasLinhas(j.A);
  switch (casasLivres(j)) {
    case 9:
      return buscarNivel<op, Politica, 9>(j, nivelAtual, somas);
    case 8:
      return buscarNivel<op, Politica, 8>(j, nivelAtual, somas);
    case 7:
      return buscarNivel<op, Politica, 7>(j, nivelAtual, somas);
    case 6:
      return buscarNivel<op, Politica, 6>(j, nivelAtual, somas);
    case 5:
      return buscarNivel<op, Politica, 5>(j, nivelAtual, somas);
    case 4:
      return buscarNivel<op, Politica, 4>(j, nivelAtual, somas);
    case 3:
      return buscarNivel<op, Politica, 3>(j, nivelAtual, somas);
    case 2:
      return buscarNivel<op, Politica, 2>(j, nivelAtual, somas);
    case 1:
      return buscarNivel<op, Politica, 1>(j, nivelAtual, somas);
    default:  // none: a full board
      return buscarNivel<op, Politica, 0>(j, nivelAtual, somas);
  }
}

template <class Politica>
JOGADA_VALOR buscarExaustivamente(JOGO j, opcao op, int nivelAtual) {
  return op == min ? buscarNaRaiz<min, Politica>(j, nivelAtual)
                   : buscarNaRaiz<max, Politica>(j, nivelAtual);
}

}  // namespace velha
