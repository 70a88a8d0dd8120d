#include <gtest/gtest.h>

#include <bitset>
#include <cmath>  // declares j1(double), like every header that brings in <math.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/jogo.h"
#include "tests/arvore.h"
#include "tests/captura.h"
#include "tests/tabuleiro.h"

namespace velha {
namespace {

// The published counts of tic-tac-toe, reached only through the core's own rules.
TEST(Regras, EnumeracaoCompletaBateComAsContagensConhecidas) {
  std::bitset<19683> posicoes, encerradas;
  long nos = 0, partidas = 0, vitoriasX = 0, vitoriasO = 0, empates = 0;
  percorrerJogoDesdeOInicio(j1, [&](const JOGO& j) {
    ++nos;
    posicoes.set(codigoDoTabuleiro(j));
    JOGO copia = j;
    const int legais = listaDeJogadas(&copia).jogadas[0];
    jogador vitorioso;
    if (!fimDeJogo(j, &vitorioso)) {
      EXPECT_GT(legais, 0);
      return seguirTodas;
    }
    EXPECT_EQ(legais, 0);
    encerradas.set(codigoDoTabuleiro(j));
    ++partidas;
    (vitorioso == j1 ? vitoriasX : vitorioso == j2 ? vitoriasO : empates) += 1;
    return seguirTodas;
  });
  EXPECT_EQ(posicoes.count(), 5478u);
  EXPECT_EQ(encerradas.count(), 958u);
  EXPECT_EQ(partidas, 255168);
  EXPECT_EQ(vitoriasX, 131184);
  EXPECT_EQ(vitoriasO, 77904);
  EXPECT_EQ(empates, 46080);
  EXPECT_EQ(nos, 549946);
}

TEST(Regras, JogoNovoListaAsNoveCasasEmOrdem) {
  JOGO j;
  inicializarJogo(&j, j2);
  const LISTA_DE_JOGADAS lista = listaDeJogadas(&j);
  ASSERT_EQ(lista.jogadas[0], 9);
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(lista.jogadas[i], i - 1);
  EXPECT_EQ(j.jogadorAtual, j2);
}

TEST(Regras, JogadasRecusadasNaoMudamORegistro) {
  const JOGO j = tabuleiro("X...O....", j1);
  const struct {
    int posicao;
    jogador jog;
  } casos[] = {{9, j1}, {-1, j1}, {100, j1}, {0, j1}, {4, j1}, {2, j2}};
  for (const auto& caso : casos) {
    JOGO copia = j;
    EXPECT_FALSE(inserirJogada(&copia, caso.posicao, caso.jog)) << caso.posicao;
    EXPECT_EQ(std::memcmp(&copia, &j, sizeof j), 0) << caso.posicao;
  }
}

TEST(Regras, JogadaAceitaMarcaContaEPassaAVez) {
  JOGO j;
  inicializarJogo(&j, j2);
  ASSERT_TRUE(inserirJogada(&j, 4, j2));
  EXPECT_EQ(j.A[4], casaO);
  EXPECT_EQ(j.marcas, 1);
  EXPECT_EQ(j.jogadorAtual, j1);
}

TEST(FimDeJogo, Resultados) {
  const struct {
    const char* nome;
    JOGO j;
    bool fim;
    jogador vitorioso;
  } casos[] = {
      {"em andamento", tabuleiro("XO..X....", j2), false, j2},
      {"velha", tabuleiro("XOXXOOOXX", j2), true, empate},
      {"nona marca completa linha", tabuleiro("XOXOXOOXX", j2), true, j1},
      {"diagonal de O", tabuleiro("OXXXO.X.O", j1), true, j2},
      {"linha 0 testada antes da linha 2", tabuleiro("XXX...OOO", j1), true, j1},
      {"coluna vence com casas livres", tabuleiro(".XO.XO.X.", j2), true, j1},
  };
  for (const auto& caso : casos) {
    jogador vitorioso = j2;
    EXPECT_EQ(fimDeJogo(caso.j, &vitorioso), caso.fim) << caso.nome;
    EXPECT_EQ(vitorioso, caso.vitorioso) << caso.nome;
  }
}

// The rule as written: lines in table order, the first with |sum| 3 decides.
bool fimDeJogoPelaTabela(const JOGO& j, jogador* vitorioso) {
  for (const LINHA& linha : linhas) {
    const int soma = j.A[linha.casas[0]] + j.A[linha.casas[1]] + j.A[linha.casas[2]];
    if (soma == 3 || soma == -3) {
      *vitorioso = jogadorDoValor(j.A[linha.casas[0]]);
      return true;
    }
  }
  if (j.marcas == totalDeCasas) *vitorioso = empate;
  return j.marcas == totalDeCasas;
}

// Every filling of the nine cells, reachable or not (both sides with a line, nine X...),
// each with its true mark count and with a full count, against the rule as written.
TEST(FimDeJogo, TodosOsTabuleirosBatemComATabela) {
  for (int codigo = 0; codigo < tabuleirosPossiveis; ++codigo) {
    JOGO j = tabuleiroDoCodigo(codigo, j1);
    for (int marcas : {j.marcas, totalDeCasas}) {
      j.marcas = marcas;
      jogador esperado = j2, obtido = j2;
      ASSERT_EQ(fimDeJogo(j, &obtido), fimDeJogoPelaTabela(j, &esperado)) << codigo;
      ASSERT_EQ(obtido, esperado) << codigo;
    }
  }
}

TEST(FimDeJogo, JogoEncerradoNaoTemJogadasERecusaTodas) {
  for (JOGO j : {tabuleiro("XOXXOOOXX", j2), tabuleiro("XXX.O.O..", j2)}) {
    EXPECT_EQ(listaDeJogadas(&j).jogadas[0], 0);
    for (int casa = 0; casa < totalDeCasas; ++casa) {
      EXPECT_FALSE(inserirJogada(&j, casa, j.jogadorAtual)) << casa;
    }
  }
}

TEST(Relatorio, TabuleiroComLegenda) {
  const std::string saida = capturarSaida([] { meuLog(tabuleiro("X...O....", j1)); });
  EXPECT_EQ(saida,
            "  X |   |        ||    0 | 1 | 2\n"
            " -----------     ||   ----------- \n"
            "    | O |        ||    3 | 4 | 5\n"
            " -----------     ||   ----------- \n"
            "    |   |        ||    6 | 7 | 8\n");
}

TEST(Relatorio, ResultadoSegueOTabuleiro) {
  const struct {
    JOGO j;
    const char* final;
  } casos[] = {
      {tabuleiro("XOXXOOOXX", j2), "Jogo encerrado. Jogo empatado (velha).\n"},
      {tabuleiro("XXXOO....", j2), "Jogo encerrado. Vitoria do jogador 1 (X).\n"},
      {tabuleiro("OOOXX.X..", j1), "Jogo encerrado. Vitoria do jogador 2 (O).\n"},
  };
  for (const auto& caso : casos) {
    const std::string saida = capturarSaida([&] { meuLog(caso.j); });
    const std::string tabuleiroSo = capturarSaida([&] { imprimirTabuleiro(caso.j); });
    EXPECT_EQ(saida, tabuleiroSo + caso.final);
  }
}

}  // namespace
}  // namespace velha
