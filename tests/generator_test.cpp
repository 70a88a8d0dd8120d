#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdlib>
#include <string>
#include <vector>

#include "generator/gerador.h"
#include "search/busca.h"
#include "tests/arvore.h"
#include "tests/captura.h"
#include "tests/tabuleiro.h"

namespace velha {
namespace {

using TABELA = std::array<char, tamanhoDoDicionario>;

TABELA copiaDaTabela() {
  TABELA t;
  std::copy(std::begin(tabelaDeRegras), std::end(tabelaDeRegras), t.begin());
  return t;
}

bool tabelaVazia() {
  return std::all_of(std::begin(tabelaDeRegras), std::end(tabelaDeRegras),
                     [](char c) { return c == semRegra; });
}

struct REGRA {
  int chave;
  char casa;
};

// Splits a listing into its lines; a line that is not "key cell" fails the test.
std::vector<REGRA> lerListagem(const std::string& texto) {
  std::vector<REGRA> regras;
  for (size_t inicio = 0; inicio < texto.size();) {
    const size_t fim = texto.find('\n', inicio);
    EXPECT_NE(fim, std::string::npos) << "ultima linha sem fim de linha";
    if (fim == std::string::npos) break;
    const std::string linha = texto.substr(inicio, fim - inicio);
    char* resto = nullptr;
    const long chave = std::strtol(linha.c_str(), &resto, 10);
    EXPECT_TRUE(resto[0] == ' ' && resto[1] != '\0' && resto[2] == '\0') << linha;
    regras.push_back({static_cast<int>(chave), resto[1]});
    inicio = fim + 1;
  }
  return regras;
}

JOGO vazio(jogador vez) { return tabuleiro(".........", vez); }

TEST(Listagem, DoTabuleiroVazioTemAsRegrasDeQuemComeca) {
  inicializarRegras();
  JOGO j = vazio(j1);
  jogador vez = j1;
  gerarJogadasAux(&j, &vez);
  const std::vector<REGRA> regras = lerListagem(capturarSaida(imprimirRegras));

  ASSERT_EQ(regras.size(), 2423u);
  EXPECT_EQ(regras.front().chave, 1637);
  EXPECT_EQ(regras.front().casa, '0');
  EXPECT_EQ(regras.back().chave, 19557);
  EXPECT_EQ(regras.back().casa, '0');
  for (size_t i = 1; i < regras.size(); ++i) ASSERT_LT(regras[i - 1].chave, regras[i].chave);
  for (const REGRA& r : regras) ASSERT_TRUE(r.casa >= '0' && r.casa <= '8') << r.chave;
  auto regraDe = [&](int chave) {
    auto it = std::find_if(regras.begin(), regras.end(),
                           [chave](const REGRA& r) { return r.chave == chave; });
    return it == regras.end() ? semRegra : it->casa;
  };
  EXPECT_EQ(regraDe(10597), '0');
  EXPECT_EQ(regraDe(10606), semRegra) << "X no canto, O a jogar: posicao de quem joga depois";
}

TEST(GerarJogadas, EscolhasConhecidasSaoGravadasNaRaiz) {
  const struct {
    const char* nome;
    JOGO j;
    JOGADA_VALOR esperado;
  } casos[] = {
      {"tabuleiro vazio", vazio(j1), {0, 0}},
      {"X no canto: O no centro", tabuleiro("X........", j2), {4, 0}},
      {"vitoria imediata vence o bloqueio", tabuleiro("OO.XX....", j1), {5, -8}},
      {"uma casa livre que vence", tabuleiro("OXOOXXX.O", j1), {7, -8}},
      {"perde em duas: menos ruim", tabuleiro(".XOOO.XXO", j1), {0, 7}},
  };
  for (auto caso : casos) {
    inicializarRegras();
    const JOGADA_VALOR res = gerarJogadas(caso.j, min, 0);
    EXPECT_EQ(res.j, caso.esperado.j) << caso.nome;
    EXPECT_EQ(res.v, caso.esperado.v) << caso.nome;
    EXPECT_EQ(tabelaDeRegras[indiceDeUmDadoTabuleiro(&caso.j)], '0' + caso.esperado.j) << caso.nome;
  }
}

TEST(GerarJogadas, RepetirABuscaNaoMudaATabela) {
  for (JOGO raiz : {vazio(j1), tabuleiro("X........", j2), tabuleiro("X..O.....", j1)}) {
    inicializarRegras();
    gerarJogadas(raiz, min, 0);
    const TABELA umaVez = copiaDaTabela();
    gerarJogadas(raiz, min, 0);
    EXPECT_TRUE(copiaDaTabela() == umaVez);
  }
}

// From the empty board a win by the ninth mark scores 0 and ties with a draw; a deeper
// root tells them apart and overwrites the rule.
TEST(GerarJogadas, RaizMaisFundaReescreveAVitoriaPelaNonaMarca) {
  JOGO j = tabuleiro("X..O.XXOO", j1);
  ASSERT_EQ(indiceDeUmDadoTabuleiro(&j), 7159);
  inicializarRegras();
  gerarJogadas(vazio(j1), min, 0);
  EXPECT_EQ(tabelaDeRegras[7159], '1');
  gerarJogadas(tabuleiro("X..O.....", j1), min, 0);
  EXPECT_EQ(tabelaDeRegras[7159], '2');
}

// Every rule written from the empty board is the search player's choice, except in the
// 19 positions with six marks where the ninth mark would win.
TEST(GerarJogadas, DoTabuleiroVazioSoDifereDaBuscaNaVitoriaPelaNonaMarca) {
  inicializarRegras();
  gerarJogadas(vazio(j1), min, 0);
  // The first player's positions, each key once.
  std::bitset<tamanhoDoDicionario> vistas;
  std::vector<JOGO> posicoes;
  percorrerJogoDesdeOInicio(j1, [&](const JOGO& j) {
    if (jogoEncerrado(j)) return naoSeguir;
    if (j.jogadorAtual != j1) return seguirTodas;
    JOGO copia = j;
    const int chave = indiceDeUmDadoTabuleiro(&copia);
    if (vistas.test(chave)) return naoSeguir;
    vistas.set(chave);
    posicoes.push_back(j);
    return seguirTodas;
  });
  ASSERT_EQ(posicoes.size(), 2423u);

  constexpr int vitoriaPelaNonaMarca = 3 - baseDaBusca;  // decided at depth 3
  int diferentes = 0;
  for (JOGO& j : posicoes) {
    const char regra = tabelaDeRegras[indiceDeUmDadoTabuleiro(&j)];
    const JOGADA_VALOR busca = buscaMaxMin(j, min, 0);
    if (regra == '0' + busca.j) continue;
    ++diferentes;
    EXPECT_EQ(j.marcas, 6);
    EXPECT_EQ(busca.v, vitoriaPelaNonaMarca);
    EXPECT_LT(regra, '0' + busca.j) << "o empate fica com a casa mais baixa";
  }
  EXPECT_EQ(diferentes, 19);
}

TEST(GerarJogadas, JogoEncerradoNaoGravaNada) {
  JOGO foraDaTabela = tabuleiro("OO.O..XXX", j2);  // O to move, X owns the bottom row
  ASSERT_FALSE(chaveNoDicionario(indiceDeUmDadoTabuleiro(&foraDaTabela)));
  for (JOGO j : {tabuleiro("XOXXOOOXX", j2), tabuleiro("XXX.OO...", j2), foraDaTabela}) {
    inicializarRegras();
    EXPECT_EQ(gerarJogadas(j, min, 0).j, semCandidato);
    EXPECT_TRUE(tabelaVazia());
  }
}

TEST(SalvarEstadoRegra, NuncaEscreveForaDaTabelaNemCasaInvalida) {
  inicializarRegras();
  JOGO foraDaTabela = tabuleiro("OO.O..XXX", j2);
  salvarEstadoRegra(&foraDaTabela, 2);
  JOGO j = vazio(j1);
  for (JOGADA casa : {-1, totalDeCasas, semCandidato}) salvarEstadoRegra(&j, casa);
  EXPECT_TRUE(tabelaVazia());
  // Over an existing rule, since cell 9 would be written as semRegra, which an empty
  // table cannot tell from no write at all.
  salvarEstadoRegra(&j, 8);
  EXPECT_EQ(tabelaDeRegras[10597], '8');
  for (JOGADA casa : {-1, totalDeCasas, semCandidato}) salvarEstadoRegra(&j, casa);
  EXPECT_EQ(tabelaDeRegras[10597], '8');
}

}  // namespace
}  // namespace velha
