#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <utility>

#include "bench/busca_em_bits.h"
#include "generator/gerador.h"
#include "search/busca.h"
#include "tests/arvore.h"
#include "tests/tabuleiro.h"
#include "verdicts/vereditos.h"

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

// Each root candidate's score, by the plain recursion of minimax over the core's own
// rules, memorised by position and depth: a move at depth nivel that ends the game scores
// a draw or its mover's win, any other the best of the replies for the side that answers.
class MinimaxDeReferencia {
 public:
  int nota(const JOGO& j, JOGADA casa, opcao op, int nivel) {
    JOGO filho = j;
    inserirJogada(&filho, casa, filho.jogadorAtual);
    jogador vitorioso = empate;
    if (fimDeJogo(filho, &vitorioso)) {
      if (vitorioso == empate) return 0;
      return op == min ? nivel - baseDaBusca : baseDaBusca - nivel;
    }
    const auto [lembrada, nova] = melhores.try_emplace({indiceDeUmDadoTabuleiro(&filho), nivel}, 0);
    if (nova) {
      const opcao oOutro = op == min ? max : min;
      const LISTA_DE_JOGADAS lista = listaDeJogadas(&filho);
      int melhor = oOutro == min ? 1000 : -1000;
      for (int i = 1; i <= lista.jogadas[0]; ++i) {
        const int v = nota(filho, lista.jogadas[i], oOutro, nivel + 1);
        melhor = oOutro == min ? std::min(melhor, v) : std::max(melhor, v);
      }
      lembrada->second = melhor;
    }
    return lembrada->second;
  }

 private:
  std::map<std::pair<int, int>, int> melhores;
};

// The scores of the root's candidates, from every position play reaches, either side
// first: those of the reference, and buscaMaxMin chooses the first of the best.
TEST(BuscaMaxMin, NotasDaRaizSaoAsDoMinimaxEmCadaPosicao) {
  MinimaxDeReferencia referencia;
  std::set<int> vistas;
  long comparadas = 0;
  for (jogador primeiro : {j1, j2}) {
    percorrerJogoDesdeOInicio(primeiro, [&](const JOGO& j) {
      JOGO copia = j;
      if (!vistas.insert(indiceDeUmDadoTabuleiro(&copia)).second) return naoSeguir;
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
        EXPECT_EQ(vereditosDasCasas(j).melhor, escolhida.j);
      }
      return seguirTodas;
    });
  }
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

// The page's question and answer: the verdicts of the free cells, the best, and the
// dictionary's rule; any other line is no question.
TEST(Vereditos, RespondemAPerguntaDaPagina) {
  inicializarJogadas();
  gravarRegra(chaveDoTabuleiroVazio, regraDaCasa(4));
  JOGO xNoCentro = tabuleiro("....X....", j2);
  gravarRegra(indiceDeUmDadoTabuleiro(&xNoCentro), 'x');  // a byte that names no cell
  const struct {
    const char* pergunta;
    bool comDicionario;
    const char* resposta;  // nullptr: no question
  } casos[] = {
      {"OO.XX.... X", false, "OO.XX.... X - - v2 - - v0 p1 p1 p1 5 - - - 56 - - - 2 2 2"},
      {"......... X", true,
       "......... X e e e e e e e e e 0 4 41263578 03482675 40173586 01482675 01735268 20314678 "
       "40351782 10624358 40176253"},
      {"....X.... O", true,
       "....X.... O e p5 e p5 - p5 e p5 e 0 n 1735268 08325 0853176 08127 - 08216 0871235 08612 "
       "0253176"},
      // Over: nothing to play, nothing to follow.
      {"XXX...OO. O", true, "XXX...OO. O - - - - - - - - - - n - - - - - - - - -"},
      {"OO.XX.... x", false, nullptr},
      {"OO.XX....  X", false, nullptr},
      {"OO.XX.... X ", false, nullptr},
      {"OO-XX.... X", false, nullptr},
      {"", false, nullptr},
  };
  for (const auto& caso : casos) {
    char resposta[tamanhoDaResposta];
    const bool respondida =
        responder(caso.pergunta, std::strlen(caso.pergunta), caso.comDicionario, resposta);
    EXPECT_EQ(respondida, caso.resposta != nullptr) << caso.pergunta;
    if (respondida && caso.resposta != nullptr) {
      EXPECT_STREQ(resposta, caso.resposta);
    }
  }
}

// After each free cell of every position play reaches, the best continuation: each move
// one the reference scores best for the side then to move, up to the end of the game,
// which ends as the cell's verdict says, after as many moves as it counts.
TEST(Vereditos, ContinuacaoEJogoPerfeitoAteOFimDoVeredito) {
  MinimaxDeReferencia referencia;
  std::set<int> vistas;
  long verificadas = 0;
  for (jogador primeiro : {j1, j2}) {
    percorrerJogoDesdeOInicio(primeiro, [&](const JOGO& j) {
      JOGO copia = j;
      if (!vistas.insert(indiceDeUmDadoTabuleiro(&copia)).second) return naoSeguir;
      const VEREDITOS vereditos = vereditosDasCasas(j);
      for (JOGADA casa = 0; casa < totalDeCasas; ++casa) {
        if (!vereditos.livre[casa]) continue;
        const CONTINUACAO continuacao = melhorContinuacao(j, casa);
        JOGO jogo = j;
        inserirJogada(&jogo, casa, jogo.jogadorAtual);
        for (int i = 0; i < continuacao.quantidade; ++i) {
          const LISTA_DE_JOGADAS lista = listaDeJogadas(&jogo);
          int melhor = 1000;
          for (int k = 1; k <= lista.jogadas[0]; ++k) {
            melhor = std::min(melhor, referencia.nota(jogo, lista.jogadas[k], min, 1));
          }
          const JOGADA jogada = continuacao.jogadas[i];
          EXPECT_EQ(referencia.nota(jogo, jogada, min, 1), melhor)
              << "cell " << casa << ", move " << i;
          EXPECT_TRUE(inserirJogada(&jogo, jogada, jogo.jogadorAtual))
              << "cell " << casa << ", move " << i;
        }
        jogador vitorioso = empate;
        EXPECT_TRUE(fimDeJogo(jogo, &vitorioso)) << "the line stops before the end, cell " << casa;
        const PREVISAO previsao = vereditos.previsao[casa];
        const bool vence = previsao.fim == veredito::ganhou || previsao.fim == veredito::ganhara;
        EXPECT_EQ(vitorioso, previsao.fim == veredito::empate ? empate
                             : vence                          ? j.jogadorAtual
                                                              : outroJogador(j.jogadorAtual));
        if (previsao.fim != veredito::empate) {
          EXPECT_EQ(continuacao.quantidade, previsao.fimEstimado) << "cell " << casa;
        }
        ++verificadas;
      }
      return seguirTodas;
    });
  }
  EXPECT_GT(verificadas, 0);
  // Nothing follows a cell that cannot be played.
  EXPECT_EQ(melhorContinuacao(tabuleiro("X........", j2), 0).quantidade, 0);
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
      EXPECT_EQ(busca.jogadas, esperada.jogadas) << "buscaMaxMin " << raiz.jogadas << " " << op;
      EXPECT_EQ(busca.listas, esperada.listas) << "buscaMaxMin " << raiz.jogadas << " " << op;
      const VISITA gerador = visitaDaBusca<POLITICA_DO_GERADOR>(raiz, op);
      EXPECT_EQ(gerador.jogadas, esperada.jogadas) << "gerarJogadas " << raiz.jogadas << " " << op;
      EXPECT_EQ(gerador.listas, esperada.listas) << "gerarJogadas " << raiz.jogadas << " " << op;
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
  inicializarJogadas();
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

}  // namespace
}  // namespace velha
