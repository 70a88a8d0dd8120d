// Timings of the exhaustive search and of the rules it applies at every node.
// Each search benchmark reports moves applied per second; each rule benchmark reports
// calls per second over a fixed mix of positions.
#include <benchmark/benchmark.h>

#include "bench/busca_em_bits.h"
#include "generator/gerador.h"
#include "search/busca.h"
#include "tests/tabuleiro.h"

namespace velha {
namespace {

// Moves applied by one exhaustive search from the empty board (every node but the root).
constexpr double jogadasDaBuscaVazia = 549945;

void contarJogadas(benchmark::State& state, double jogadasPorIteracao) {
  state.counters["jogadas/s"] = benchmark::Counter(
      jogadasPorIteracao * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BuscaMaxMinTabuleiroVazio(benchmark::State& state) {
  const JOGO vazio = tabuleiro(".........", j1);
  for (auto _ : state) benchmark::DoNotOptimize(buscaMaxMin(vazio, min, 0));
  contarJogadas(state, jogadasDaBuscaVazia);
}
BENCHMARK(BuscaMaxMinTabuleiroVazio)->Unit(benchmark::kMillisecond);

// The same search on bit masks, a floor to read the one above against.
void BuscaEmBitsTabuleiroVazio(benchmark::State& state) {
  const JOGO vazio = tabuleiro(".........", j1);
  for (auto _ : state) benchmark::DoNotOptimize(buscarEmBitsNaRaiz(vazio));
  contarJogadas(state, jogadasDaBuscaVazia);
}
BENCHMARK(BuscaEmBitsTabuleiroVazio)->Unit(benchmark::kMillisecond);

// The 82 rule-recording searches that write the complete dictionary: the empty board,
// then O's first move in each cell, then each pair of first moves, O opening.
constexpr double jogadasDoDicionarioCompleto = 1649745;

void GerarDicionarioCompleto(benchmark::State& state) {
  inicializarRegras();
  for (auto _ : state) {
    JOGO j;
    inicializarJogo(&j, j1);
    gerarJogadas(j, min, 0);
    for (int primeira = 0; primeira < totalDeCasas; ++primeira) {
      inicializarJogo(&j, j2);
      inserirJogada(&j, primeira, j2);
      gerarJogadas(j, min, 0);
      for (int segunda = 0; segunda < totalDeCasas; ++segunda) {
        JOGO raiz = j;
        if (inserirJogada(&raiz, segunda, j1)) gerarJogadas(raiz, min, 0);
      }
    }
    benchmark::DoNotOptimize(tabelaDeRegras);
  }
  contarJogadas(state, jogadasDoDicionarioCompleto);
}
BENCHMARK(GerarDicionarioCompleto)->Unit(benchmark::kMillisecond);

// The kinds of position a search meets: open, finished with free cells, full.
const JOGO posicoes[] = {
    tabuleiro(".........", j1),  // empty
    tabuleiro("X...O....", j1),  // opening
    tabuleiro("XO..X.O..", j1),  // mid-game
    tabuleiro("XOX.O..X.", j2),  // late, nobody has won
    tabuleiro("XXX.OO...", j2),  // won with free cells
    tabuleiro("OXXXO.X.O", j2),  // won on the last line tested
    tabuleiro("XOXXOOOXX", j2),  // drawn
    tabuleiro("XOXOXOOXX", j2),  // full, won by the ninth mark
};
constexpr auto quantidadeDePosicoes = static_cast<int64_t>(std::size(posicoes));

void FimDeJogo(benchmark::State& state) {
  for (auto _ : state) {
    for (JOGO j : posicoes) {
      benchmark::DoNotOptimize(j);
      jogador vitorioso = empate;
      benchmark::DoNotOptimize(fimDeJogo(j, &vitorioso));
      benchmark::DoNotOptimize(vitorioso);
    }
  }
  state.SetItemsProcessed(state.iterations() * quantidadeDePosicoes);
}
BENCHMARK(FimDeJogo);

void ListaDeJogadas(benchmark::State& state) {
  for (auto _ : state) {
    for (JOGO j : posicoes) {
      benchmark::DoNotOptimize(j);
      benchmark::DoNotOptimize(listaDeJogadas(&j));
    }
  }
  state.SetItemsProcessed(state.iterations() * quantidadeDePosicoes);
}
BENCHMARK(ListaDeJogadas);

// Every cell for the side to move, so accepted and refused moves are both in the mix.
void InserirJogada(benchmark::State& state) {
  for (auto _ : state) {
    for (const JOGO& posicao : posicoes) {
      for (int casa = 0; casa < totalDeCasas; ++casa) {
        JOGO j = posicao;
        benchmark::DoNotOptimize(j);
        benchmark::DoNotOptimize(inserirJogada(&j, casa, j.jogadorAtual));
        benchmark::DoNotOptimize(j);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * quantidadeDePosicoes * totalDeCasas);
}
BENCHMARK(InserirJogada);

}  // namespace
}  // namespace velha

BENCHMARK_MAIN();
