// A floor for the search's speed: the same exhaustive minimax, with the same scores and
// tie-breaks and no pruning or memory either, on two 9-bit masks of marks instead of the
// game record and its rules. The benchmarks time it beside buscaMaxMin, and search_test
// shows that it gives buscaMaxMin's answer from every position play can reach.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "core/jogo.h"
#include "search/minimax.h"

namespace velha {

inline constexpr std::uint32_t todasAsCasas = (std::uint32_t{1} << totalDeCasas) - 1;

// Whether a set of cells, as a bit mask, holds a whole line.
inline constexpr auto temLinha = [] {
  std::array<bool, todasAsCasas + 1> tem{};
  for (std::uint32_t casas = 0; casas <= todasAsCasas; ++casas) {
    for (const LINHA& linha : linhas) {
      std::uint32_t mascara = 0;
      for (int casa : linha.casas) mascara |= std::uint32_t{1} << casa;
      if ((casas & mascara) == mascara) tem[casas] = true;
    }
  }
  return tem;
}();

// The player to move holds the cells of quemJoga, the other player those of outro, and
// livres cells are free; they are visited in ascending order, as listaDeJogadas lists them.
// A function per count of free cells, as in the search, so that it too is inlined whole.
template <opcao op, int livres>
[[gnu::flatten]] JOGADA_VALOR buscarEmBits(std::uint32_t quemJoga, std::uint32_t outro, int nivel) {
  ++nivel;
  std::uint32_t candidatos = todasAsCasas & ~(quemJoga | outro);
  JOGADA_VALOR escolhida{std::countr_zero(candidatos), sentinela(op)};
  for (; candidatos != 0; candidatos &= candidatos - 1) {  // the lowest cell, then the next
    const int casa = std::countr_zero(candidatos);
    const std::uint32_t depois = quemJoga | (std::uint32_t{1} << casa);
    int valor = 0;  // a draw, also when this move filled the board
    if (temLinha[depois]) {
      valor = valorDaVitoria<op>(baseDaBusca, nivel);
    } else if constexpr (livres > 1) {
      valor = buscarEmBits<outraOpcao(op), livres - 1>(outro, depois, nivel).v;
    }
    if (minMax(valor, escolhida.v, op) != escolhida.v) escolhida = {casa, valor};
  }
  return escolhida;
}

template <int livres>
JOGADA_VALOR buscarEmBitsComLivres(std::uint32_t quemJoga, std::uint32_t outro, int casas) {
  if constexpr (livres > 1) {
    if (casas < livres) return buscarEmBitsComLivres<livres - 1>(quemJoga, outro, casas);
  }
  return buscarEmBits<min, livres>(quemJoga, outro, 0);
}

// buscaMaxMin(j, min, 0), a finished root included.
inline JOGADA_VALOR buscarEmBitsNaRaiz(const JOGO& j) {
  std::uint32_t quemJoga = 0, outro = 0;
  const int valorDeQuemJoga = valorDoJogador(j.jogadorAtual);
  for (int casa = 0; casa < totalDeCasas; ++casa) {
    if (j.A[casa] == valorDeQuemJoga) quemJoga |= std::uint32_t{1} << casa;
    if (j.A[casa] == -valorDeQuemJoga) outro |= std::uint32_t{1} << casa;
  }
  if (temLinha[quemJoga] || temLinha[outro]) return {semCandidato, valorDeJogoPerdido};
  const int casas = std::popcount(todasAsCasas & ~(quemJoga | outro));
  if (casas == 0) return {semCandidato, 0};
  return buscarEmBitsComLivres<totalDeCasas>(quemJoga, outro, casas);
}

}  // namespace velha
