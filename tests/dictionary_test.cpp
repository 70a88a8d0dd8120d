#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>

#include "dictionary/dicionario.h"
#include "tests/arvore.h"
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

}  // namespace
}  // namespace velha
