#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>

#include "dictionary/dicionario.h"
#include "tests/arvore.h"
#include "tests/captura.h"
#include "tests/fluxo.h"
#include "tests/tabuleiro.h"

namespace velha {
namespace {

TEST(Chave, ValoresConhecidos) {
  const struct {
    JOGO j;
    int chave;
  } casos[] = {
      {tabuleiro(".........", j1), 10597}, {tabuleiro(".........", j2), 10597},
      {tabuleiro("X........", j2), 10606}, {tabuleiro("....X....", j2), 10678},
      {tabuleiro("........X", j2), 11326}, {tabuleiro("XXXXXXXXX", j1), 756},
  };
  for (auto caso : casos) EXPECT_EQ(indiceDeUmDadoTabuleiro(&caso.j), caso.chave);
}

// The key as its rows' values, against the key as one weighted sum, for every filling of
// the cells with either side to move.
TEST(Chave, AsLinhasDaoAMesmaChaveEmTodoTabuleiro) {
  for (int codigo = 0; codigo < tabuleirosPossiveis; ++codigo) {
    for (jogador vez : {j1, j2}) {
      JOGO j = tabuleiroDoCodigo(codigo, vez);
      const int sinal = vez == j1 ? 1 : -1;
      int valor[3];
      for (int linha = 0; linha < 3; ++linha) {
        const int primeira = 3 * linha;
        valor[linha] = sinal * (9 * j.A[primeira] + 3 * j.A[primeira + 1] + j.A[primeira + 2]) + 14;
      }
      ASSERT_EQ(indiceDeUmDadoTabuleiro(&j), (valor[2] * 27 + valor[1]) * 27 + valor[0] - 1)
          << codigo;
    }
  }
}

TEST(Chave, TrocarAsCoresEAVezNaoMudaAChave) {
  JOGO x = tabuleiro("X.O.X..O.", j2);
  JOGO o = tabuleiro("O.X.O..X.", j1);
  EXPECT_EQ(indiceDeUmDadoTabuleiro(&x), indiceDeUmDadoTabuleiro(&o));
}

// Every position reachable in play, with either side first: unfinished ones fit the table.
TEST(Chave, PosicoesNaoEncerradasCabemNaTabela) {
  std::bitset<tamanhoDoDicionario> vistas;
  int menor = tamanhoDoDicionario, maior = 0;
  for (jogador primeiro : {j1, j2}) {
    percorrerJogoDesdeOInicio(primeiro, [&](const JOGO& j) {
      if (jogoEncerrado(j)) return naoSeguir;
      JOGO copia = j;
      const int chave = indiceDeUmDadoTabuleiro(&copia);
      EXPECT_GE(chave, 756);
      EXPECT_LT(chave, tamanhoDoDicionario);
      menor = std::min(menor, chave);
      maior = std::max(maior, chave);
      if (!chaveNoDicionario(chave) || vistas.test(chave)) return naoSeguir;
      vistas.set(chave);
      return seguirTodas;
    });
  }
  EXPECT_EQ(menor, 1637);
  EXPECT_EQ(maior, 19638);
  EXPECT_EQ(vistas.count(), 4520u);
}

// The file both ways: the listing of a table, read back, gives that table and no more.
TEST(Arquivo, AListagemLidaDeVoltaDaAMesmaTabela) {
  inicializarJogadas();
  const std::pair<int, char> regras[] = {{0, '1'}, {756, '4'}, {10597, '0'}, {19682, '8'}};
  for (const auto& [chave, regra] : regras) gravarRegra(chave, regra);
  const std::string listagem = capturarSaida([] { imprimirDicionario(stdout); });
  EXPECT_EQ(listagem, "0 1\n756 4\n10597 0\n19682 8\n");

  gravarRegra(5, '2');  // a load starts from an empty table
  Fluxo fluxo(listagem);
  ASSERT_EQ(carregarDicionario(&fluxo.fonte).resultado, carga::carregada);
  int comRegra = 0;
  for (int chave = 0; chave < tamanhoDoDicionario; ++chave) comRegra += regraDe(chave) != semRegra;
  EXPECT_EQ(comRegra, 4);
  for (const auto& [chave, regra] : regras) EXPECT_EQ(regraDe(chave), regra) << chave;
}

}  // namespace
}  // namespace velha
