#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "bench/busca_em_bits.h"
#include "generator/gerador.h"
#include "search/busca.h"
#include "search/explorador.h"
#include "tests/arvore.h"
#include "tests/minimax_de_referencia.h"
#include "tests/tabuleiro.h"

namespace velha {
namespace {

// The search's own test of how a move ended the game, against fimDeJogo: for every
// unfinished filling of the cells (a superset of what play can reach), either side to
// move and every free cell, the lines' sums it adds up and the outcome it reads.
TEST(DesfechoDaJogada, DaARespostaDeFimDeJogoDepoisDeCadaJogada) {
  long jogadasVerificadas = 0;
  for (int codigo = 0; codigo < tabuleirosPossiveis; ++codigo) {
    for (jogador vez : {j1, j2}) {
      const JOGO antes = tabuleiroDoCodigo(codigo, vez);
      if (jogoEncerrado(antes)) continue;
      for (int casa = 0; casa < totalDeCasas; ++casa) {
        JOGO depois = antes;
        if (!inserirJogada(&depois, casa, vez)) continue;
        const std::uint32_t somas = somasComAMarca(somasDasLinhas(antes.A), casa, depois.A[casa]);
        ASSERT_EQ(somas, somasDasLinhas(depois.A)) << codigo << " casa " << casa;
        jogador vitorioso = empate;
        const bool fim = fimDeJogo(depois, &vitorioso);
        const desfecho lido = desfechoDaJogada(somas, depois);
        ASSERT_EQ(lido == desfecho::continua, !fim) << codigo << " casa " << casa;
        const jogador esperado =
            lido == desfecho::vitoria ? outroJogador(depois.jogadorAtual) : empate;
        if (fim) {
          ASSERT_EQ(vitorioso, esperado) << codigo << " casa " << casa;
        }
        ++jogadasVerificadas;
      }
    }
  }
  EXPECT_EQ(jogadasVerificadas, 80150);
}

TEST(BuscaMaxMin, EscolhasConhecidas) {
  const struct {
    const char* nome;
    JOGO j;
    JOGADA_VALOR esperado;
  } casos[] = {
      {"tabuleiro vazio empata na casa 0", tabuleiro(".........", j1), {0, 0}},
      {"X no centro: O responde no canto 0", tabuleiro("....X....", j2), {0, 0}},
      {"X no canto: O responde no centro", tabuleiro("X........", j2), {4, 0}},
      {"vitoria imediata vence o bloqueio", tabuleiro("OO.XX....", j1), {5, -9}},
      {"varias vitorias: a casa mais baixa", tabuleiro("XX.XOO.O.", j1), {2, -9}},
      {"uma casa livre que empata", tabuleiro(".XOOOXXXO", j1), {0, 0}},
      {"perde em duas: menos ruim", tabuleiro(".XOOO.XXO", j1), {0, 8}},
      {"uma casa livre que vence", tabuleiro("OXOOXXX.O", j1), {7, -9}},
  };
  for (const auto& caso : casos) {
    const JOGADA_VALOR res = buscaMaxMin(caso.j, min, 0);
    EXPECT_EQ(res.j, caso.esperado.j) << caso.nome;
    EXPECT_EQ(res.v, caso.esperado.v) << caso.nome;
  }
}

TEST(BuscaMaxMin, JogoEncerradoNaoTemCandidato) {
  EXPECT_EQ(buscaMaxMin(tabuleiro("XOXXOOOXX", j2), min, 0).j, semCandidato);
  EXPECT_EQ(buscaMaxMin(tabuleiro("XOXXOOOXX", j2), min, 0).v, 0);
  EXPECT_EQ(buscaMaxMin(tabuleiro("XXX.OO...", j2), min, 0).j, semCandidato);
  EXPECT_EQ(buscaMaxMin(tabuleiro("XXX.OO...", j2), min, 0).v, valorDeJogoPerdido);
  // A `max` caller reads a finished root as lost too: below every score it could get.
  const JOGADA_VALOR perdido = buscaMaxMin(tabuleiro("XXX.OO...", j2), max, 0);
  EXPECT_EQ(perdido.j, semCandidato);
  EXPECT_LT(perdido.v, 0);
  EXPECT_LT(perdido.v, buscaMaxMin(tabuleiro("XX..OO...", j2), max, 0).v);
}

// As either side, moving first or second, against every sequence of opponent moves.
TEST(BuscaMaxMin, NuncaPerde) {
  for (jogador primeiro : {j1, j2}) {
    for (jogador perfeito : {primeiro, outroJogador(primeiro)}) {
      const PLACAR placar =
          jogarContraTodos(primeiro, perfeito, [](JOGO* j) { return buscaMaxMin(*j, min, 0).j; });
      EXPECT_EQ(placar.derrotas, 0) << primeiro << perfeito;
      EXPECT_EQ(placar.recusadas, 0) << primeiro << perfeito;
      EXPECT_GT(placar.vitorias, 0) << primeiro << perfeito;
    }
  }
}

// The scores of the root's candidates, from every position play reaches, either side
// first: those of the reference, and buscaMaxMin chooses the first of the best.
TEST(BuscaMaxMin, NotasDaRaizSaoAsDoMinimaxEmCadaPosicao) {
  MinimaxDeReferencia referencia;
  long comparadas = 0;
  visitarCadaChave([&](const JOGO& j) {
    JOGO copia = j;
    const NOTAS_DA_RAIZ notas = notasDaRaiz(j, min, 0);
    const LISTA_DE_JOGADAS lista = listaDeJogadas(&copia);
    EXPECT_EQ(notas.quantidade, lista.jogadas[0]);
    JOGADA_VALOR primeiraMelhor{semCandidato, 0};
    for (int i = 0; i < notas.quantidade && i < lista.jogadas[0]; ++i) {
      const JOGADA_VALOR candidato = notas.candidatos[i];
      EXPECT_EQ(candidato.j, lista.jogadas[i + 1]);
      EXPECT_EQ(candidato.v, referencia.nota(j, candidato.j, min, 1)) << candidato.j;
      if (i == 0 || candidato.v < primeiraMelhor.v) primeiraMelhor = candidato;
      ++comparadas;
    }
    if (notas.quantidade > 0) {
      const JOGADA_VALOR escolhida = buscaMaxMin(j, min, 0);
      EXPECT_EQ(escolhida.j, primeiraMelhor.j);
      EXPECT_EQ(escolhida.v, primeiraMelhor.v);
    }
  });
  EXPECT_GT(comparadas, 0);
  // O in 0 and 1, X in 3 and 4, X to move: cell 5 wins now, 2 stops O and threatens
  // twice, the others let O win at once.
  const NOTAS_DA_RAIZ notas = notasDaRaiz(tabuleiro("OO.XX....", j1), min, 0);
  ASSERT_EQ(notas.quantidade, 5);
  EXPECT_EQ(notas.candidatos[0].j, 2);
  EXPECT_EQ(lerPlacar(notas.candidatos[1].v).fim, veredito::ganhou);
  EXPECT_EQ(notas.candidatos[1].j, 5);
  EXPECT_EQ(lerPlacar(notas.candidatos[2].v).fim, veredito::perdera);
}

// The benchmarks' floor computes what the search computes: the same cell and score from
// every position play reaches, finished ones included, either side moving first.
TEST(BuscaEmBits, DaAEscolhaDeBuscaMaxMinEmCadaPosicao) {
  for (jogador primeiro : {j1, j2}) {
    std::bitset<tabuleirosPossiveis> vistas;
    percorrerJogoDesdeOInicio(primeiro, [&](const JOGO& j) {
      const int codigo = codigoDoTabuleiro(j);
      if (vistas[codigo]) return naoSeguir;
      vistas.set(codigo);
      const JOGADA_VALOR esperada = buscaMaxMin(j, min, 0), obtida = buscarEmBitsNaRaiz(j);
      EXPECT_EQ(obtida.j, esperada.j) << codigo;
      EXPECT_EQ(obtida.v, esperada.v) << codigo;
      return seguirTodas;
    });
    EXPECT_EQ(vistas.count(), 5478u);
  }
}

// What an exhaustive search from a root must do, counted by walking the game tree: one
// move for every position below the root, and a list of candidates for the root and every
// unfinished position below it.
struct VISITA {
  long long jogadas = 0, listas = 0;
};

VISITA visitaDeUmaBuscaExaustiva(const JOGO& raiz) {
  VISITA visita{-1, jogoEncerrado(raiz) ? 1 : 0};
  percorrerJogo(raiz, [&](const JOGO& j) {
    ++visita.jogadas;
    if (jogoEncerrado(j)) return naoSeguir;
    ++visita.listas;
    return seguirTodas;
  });
  return visita;
}

// A search with the programs' Politica, counting every list of candidates it makes and
// every move it applies: one that skips any continuation (a cut after a win, a child left
// out) applies fewer moves than the walk finds.
template <class Politica>
struct CONTADA : Politica {
  static inline VISITA visita;
  static void aoListar() { ++visita.listas; }
  static void aoAplicar() { ++visita.jogadas; }
};

template <class Politica>
VISITA visitaDaBusca(const JOGO& raiz, opcao op) {
  CONTADA<Politica>::visita = {};
  buscarExaustivamente<CONTADA<Politica>>(raiz, op, 0);
  return CONTADA<Politica>::visita;
}

TEST(BuscasExaustivas, VisitamTodaAArvoreDesdeCadaRaiz) {
  const JOGO raizes[] = {
      tabuleiro(".........", j1), tabuleiro(".........", j2), tabuleiro("....X....", j2),
      tabuleiro("X...O....", j1), tabuleiro("XO..X.O..", j1), tabuleiro(".XOOO.XXO", j1),
      tabuleiro("OXOOXXX.O", j1), tabuleiro("XXX.OO...", j2), tabuleiro("XOXXOOOXX", j2),
  };
  for (const JOGO& raiz : raizes) {
    const VISITA esperada = visitaDeUmaBuscaExaustiva(raiz);
    for (opcao op : {min, max}) {
      const VISITA busca = visitaDaBusca<POLITICA_DA_BUSCA>(raiz, op);
      EXPECT_EQ(busca.jogadas, esperada.jogadas) << "buscaMaxMin " << raiz.marcas << " " << op;
      EXPECT_EQ(busca.listas, esperada.listas) << "buscaMaxMin " << raiz.marcas << " " << op;
      const VISITA gerador = visitaDaBusca<POLITICA_DO_GERADOR>(raiz, op);
      EXPECT_EQ(gerador.jogadas, esperada.jogadas) << "gerarJogadas " << raiz.marcas << " " << op;
      EXPECT_EQ(gerador.listas, esperada.listas) << "gerarJogadas " << raiz.marcas << " " << op;
    }
  }
  // The published count of the game tree: every node but the empty board.
  EXPECT_EQ(visitaDeUmaBuscaExaustiva(raizes[0]).jogadas, 549945);
}

// The 82 searches that write the complete dictionary (the empty board, then each of O's
// openings, then each pair of openings, O first) apply the moves the walk finds below
// their roots: 1,649,745 in all.
TEST(BuscasExaustivas, ODicionarioCompletoAplicaCadaJogadaDasSuasRaizes) {
  long long esperadas = 0, aplicadas = 0;
  const auto gerarDe = [&](const JOGO& raiz) {
    esperadas += visitaDeUmaBuscaExaustiva(raiz).jogadas;
    aplicadas += visitaDaBusca<POLITICA_DO_GERADOR>(raiz, min).jogadas;
  };
  inicializarRegras();
  gerarDe(tabuleiro(".........", j1));
  for (int primeira = 0; primeira < totalDeCasas; ++primeira) {
    JOGO j = tabuleiro(".........", j2);
    inserirJogada(&j, primeira, j2);
    gerarDe(j);
    for (int segunda = 0; segunda < totalDeCasas; ++segunda) {
      JOGO raiz = j;
      if (inserirJogada(&raiz, segunda, j1)) gerarDe(raiz);
    }
  }
  EXPECT_EQ(aplicadas, esperadas);
  EXPECT_EQ(esperadas, 1649745);
}

// The tests' own alpha-beta, plain, counting its moves: the scores of the tests' minimax,
// a level giving up its candidates once alfa >= beta, its candidates in the order asked
// (cells in order; the centre, corners, edges; or the best for the side to move first, by
// the tests' minimax, cells in order among equals). At the root, tentadas gets the
// candidates it tried.
int alfaBetaDeReferencia(const JOGO& j, bool maximiza, int nivel, int alfa, int beta, long* jogadas,
                         ordem ordemDaAlfaBeta = ordem::seeker,
                         std::vector<JOGADA>* tentadas = nullptr) {
  const LISTA_DE_JOGADAS lista = listaDeJogadas(const_cast<JOGO*>(&j));
  std::vector<JOGADA> casas(lista.jogadas + 1, lista.jogadas + 1 + lista.jogadas[0]);
  if (ordemDaAlfaBeta == ordem::centro) {
    const std::vector<JOGADA> ordemFixa = {4, 0, 2, 6, 8, 1, 3, 5, 7};
    std::vector<JOGADA> livres;
    for (const JOGADA casa : ordemFixa) {
      if (std::find(casas.begin(), casas.end(), casa) != casas.end()) livres.push_back(casa);
    }
    casas = livres;
  } else if (ordemDaAlfaBeta == ordem::melhor) {
    static MinimaxDeReferencia minimax;
    std::map<JOGADA, int> notas;
    for (const JOGADA casa : casas)
      notas[casa] = minimax.nota(j, casa, maximiza ? max : min, nivel + 1);
    std::stable_sort(casas.begin(), casas.end(), [&](JOGADA a, JOGADA b) {
      return maximiza ? notas[a] > notas[b] : notas[a] < notas[b];
    });
  }
  int melhor = maximiza ? -1000 : 1000;
  for (const JOGADA casa : casas) {
    if (tentadas != nullptr) tentadas->push_back(casa);
    JOGO filho = j;
    inserirJogada(&filho, casa, filho.jogadorAtual);
    ++*jogadas;
    jogador vitorioso = empate;
    int valor = 0;
    if (!fimDeJogo(filho, &vitorioso)) {
      valor =
          alfaBetaDeReferencia(filho, !maximiza, nivel + 1, alfa, beta, jogadas, ordemDaAlfaBeta);
    } else if (vitorioso != empate) {
      valor = maximiza ? baseDaBusca - (nivel + 1) : (nivel + 1) - baseDaBusca;
    }
    melhor = maximiza ? std::max(melhor, valor) : std::min(melhor, valor);
    (maximiza ? alfa : beta) = maximiza ? std::max(alfa, melhor) : std::min(beta, melhor);
    if (alfa >= beta) break;
  }
  return melhor;
}

// The explorer's figures at every position of play: alpha-beta's score is the search's,
// and the moves the search and alpha-beta play are those the tests' walkers count.
TEST(Explorador, AlfaBetaDaANotaDaBuscaEAsContagensSaoAsDaReferencia) {
  visitarCadaChave([&](const JOGO& j) {
    if (jogoEncerrado(j)) return;
    const EXPLORACAO exploracao = explorar(j, nullptr, 0);
    long referencia = 0;
    const int nota = alfaBetaDeReferencia(j, false, 0, -1000, 1000, &referencia);
    long jogadas = 0;
    EXPECT_EQ(alfaBeta(j, min, 0, sentinela(max), sentinela(min), &jogadas), exploracao.valor);
    EXPECT_EQ(exploracao.valor, buscaMaxMin(j, min, 0).v);
    EXPECT_EQ(nota, exploracao.valor);
    EXPECT_EQ(jogadas, referencia);
    EXPECT_EQ(exploracao.jogadasComAlfaBeta, referencia);
    EXPECT_EQ(exploracao.jogadas, visitaDeUmaBuscaExaustiva(j).jogadas);
    // Watched step by step: a step for each move played, the root's moves scored as the
    // row's, and alpha-beta stopping a level exactly where its figures say.
    if (casasLivres(j) > livresParaRastrear) return;
    PASSO passos[maximoDePassos];
    EXPECT_EQ(rastrearBusca(j, passos), exploracao.jogadas);
    int naRaiz = 0;
    for (int i = 0; i < exploracao.jogadas; ++i) {
      if (passos[i].nivel != 1) continue;
      EXPECT_EQ(passos[i].jogada, exploracao.ramos[naRaiz].jogada);
      EXPECT_EQ(passos[i].valor, exploracao.ramos[naRaiz++].valor);
    }
    EXPECT_EQ(naRaiz, exploracao.quantidade);
    const int comAlfaBeta = rastrearAlfaBeta(j, passos);
    EXPECT_EQ(comAlfaBeta, exploracao.jogadasComAlfaBeta);
    for (int i = 0; i < comAlfaBeta; ++i) {
      EXPECT_EQ(passos[i].corta, passos[i].alfa >= passos[i].beta);
    }
  });
  // In each order of moves: alpha-beta's score is the search's, its count and the moves it
  // cuts at the root are the reference's, and watched step by step it takes as many steps.
  visitarCadaChave([&](const JOGO& j) {
    if (jogoEncerrado(j)) return;
    for (const ordem emOrdem : {ordem::centro, ordem::melhor}) {
      long referencia = 0;
      std::vector<JOGADA> tentadas;
      const int nota =
          alfaBetaDeReferencia(j, false, 0, -1000, 1000, &referencia, emOrdem, &tentadas);
      const JOGADA semCaminho[1] = {};  // the root's row, as the helper asks for it
      const EXPLORACAO exploracao = explorar(j, semCaminho, 0, emOrdem);
      EXPECT_EQ(nota, exploracao.valor);
      EXPECT_EQ(exploracao.jogadasComAlfaBeta, referencia);
      for (int i = 0; i < exploracao.quantidade; ++i) {
        const RAMO& ramo = exploracao.ramos[i];
        EXPECT_EQ(ramo.cortadoPelaAlfaBeta,
                  std::find(tentadas.begin(), tentadas.end(), ramo.jogada) == tentadas.end());
      }
      if (casasLivres(j) > livresParaRastrear) continue;
      PASSO passos[maximoDePassos];
      EXPECT_EQ(rastrearAlfaBeta(j, passos, emOrdem), referencia);
    }
  });
  // From the empty board, and the row of X 4 under it, where alpha-beta tries O 0 alone.
  const JOGO vazio = tabuleiro(".........", j1);
  const EXPLORACAO raiz = explorar(vazio, nullptr, 0);
  EXPECT_EQ(raiz.jogadas, 549945);
  EXPECT_EQ(raiz.jogadasComAlfaBeta, 20865);
  EXPECT_EQ(raiz.escolhida, 0);
  const JOGADA x4[] = {4};
  const EXPLORACAO sob = explorar(vazio, x4, 1);
  EXPECT_EQ(raiz.ramos[4].abaixo, sob.jogadas);
  EXPECT_EQ(raiz.ramos[4].abaixoComAlfaBeta, sob.jogadasComAlfaBeta);
  EXPECT_EQ(sob.jogadas, 55504);
  EXPECT_EQ(sob.jogadasComAlfaBeta, 2458);
  for (int i = 0; i < sob.quantidade; ++i) {
    EXPECT_EQ(sob.ramos[i].cortadoPelaAlfaBeta, sob.ramos[i].jogada != 0) << sob.ramos[i].jogada;
  }
  // Move order's effect on alpha-beta: seeker's, the centre first, the best first.
  const struct {
    ordem emOrdem;
    long naRaiz;
    long sobX4;
  } ordens[] = {
      {ordem::seeker, 20865, 2458}, {ordem::centro, 7864, 2173}, {ordem::melhor, 1891, 432}};
  for (const auto& caso : ordens) {
    EXPECT_EQ(explorar(vazio, nullptr, 0, caso.emOrdem).jogadasComAlfaBeta, caso.naRaiz);
    EXPECT_EQ(explorar(vazio, x4, 1, caso.emOrdem).jogadasComAlfaBeta, caso.sobX4);
    EXPECT_EQ(explorar(vazio, x4, 1, caso.emOrdem).jogadas, 55504);
  }
}

}  // namespace
}  // namespace velha
