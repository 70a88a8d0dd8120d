#include <gtest/gtest.h>

#include <bitset>

#include "dictionary/dicionario.h"
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

TEST(Chave, TrocarAsCoresEAVezNaoMudaAChave) {
  JOGO x = tabuleiro("X.O.X..O.", j2);
  JOGO o = tabuleiro("O.X.O..X.", j1);
  EXPECT_EQ(indiceDeUmDadoTabuleiro(&x), indiceDeUmDadoTabuleiro(&o));
}

// Every position reachable in play, with either side first: unfinished ones fit the table.
void visitar(JOGO j, std::bitset<tamanhoDoDicionario>& vistas, int& menor, int& maior) {
  if (jogoEncerrado(j)) return;
  const int chave = indiceDeUmDadoTabuleiro(&j);
  ASSERT_GE(chave, 756);
  ASSERT_LT(chave, tamanhoDoDicionario);
  menor = std::min(menor, chave);
  maior = std::max(maior, chave);
  if (vistas.test(chave)) return;
  vistas.set(chave);
  LISTA_DE_JOGADAS lista = listaDeJogadas(&j);
  for (int i = 1; i <= lista.jogadas[0]; ++i) {
    JOGO filho = j;
    ASSERT_TRUE(inserirJogada(&filho, lista.jogadas[i], filho.jogadorAtual));
    visitar(filho, vistas, menor, maior);
  }
}

TEST(Chave, PosicoesNaoEncerradasCabemNaTabela) {
  std::bitset<tamanhoDoDicionario> vistas;
  int menor = tamanhoDoDicionario, maior = 0;
  for (jogador primeiro : {j1, j2}) {
    JOGO j;
    inicializarJogo(&j, primeiro);
    visitar(j, vistas, menor, maior);
  }
  EXPECT_EQ(menor, 1637);
  EXPECT_EQ(maior, 19638);
  EXPECT_EQ(vistas.count(), 4520u);
}

TEST(Tabela, ComecaSemRegraEmTodaParte) {
  jogadas[0] = '3';
  jogadas[tamanhoDoDicionario - 1] = '4';
  inicializarJogadas();
  for (char regra : jogadas) ASSERT_EQ(regra, semRegra);
}

}  // namespace
}  // namespace velha
