// The complete dictionary written by the build (target `dictionary`), checked against
// every position that can arise in play, and perfect play by the dictionary and by the
// search against every sequence of opponent moves.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "dictionary/dicionario.h"
#include "lookup/consulta.h"
#include "search/busca.h"

namespace velha {
namespace {

// Every unfinished position reachable from the empty board, with either side first,
// by key (a position and its colour-swapped twin share one).
void posicoesNaoEncerradas(JOGO j, std::map<int, JOGO>& posicoes) {
  if (jogoEncerrado(j) || !posicoes.emplace(indiceDeUmDadoTabuleiro(&j), j).second) return;
  LISTA_DE_JOGADAS lista = listaDeJogadas(&j);
  for (int i = 1; i <= lista.jogadas[0]; ++i) {
    JOGO filho = j;
    inserirJogada(&filho, lista.jogadas[i], filho.jogadorAtual);
    posicoesNaoEncerradas(filho, posicoes);
  }
}

const std::map<int, JOGO>& todasAsPosicoes() {
  static const std::map<int, JOGO> posicoes = [] {
    std::map<int, JOGO> p;
    for (jogador primeiro : {j1, j2}) {
      JOGO j;
      inicializarJogo(&j, primeiro);
      posicoesNaoEncerradas(j, p);
    }
    return p;
  }();
  return posicoes;
}

class DicionarioCompleto : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    inicializarJogadas();
    const CARGA_DO_DICIONARIO lida = leDicionario(DICIONARIO_COMPLETO);
    ASSERT_EQ(lida.resultado, carga::carregada) << "invalid at line " << lida.linhaInvalida;
  }
};

TEST_F(DicionarioCompleto, UmaRegraPorPosicaoNaoEncerradaEmOrdemCrescente) {
  // Binary, so that a line end written as CRLF (a Windows text stream's) fails the test.
  std::ifstream arquivo(DICIONARIO_COMPLETO, std::ios::binary);
  std::set<int> chaves;
  int anterior = -1;
  for (std::string linha; std::getline(arquivo, linha);) {
    int chave = 0;
    const char* fim = linha.data() + linha.size();
    ASSERT_EQ(std::from_chars(linha.data(), fim, chave).ec, std::errc{}) << linha;
    ASSERT_EQ(linha, std::to_string(chave) + ' ' + linha.back());
    ASSERT_GT(chave, anterior) << linha;
    anterior = chave;
    chaves.insert(chave);
  }
  std::set<int> esperadas;
  for (const auto& [chave, posicao] : todasAsPosicoes()) esperadas.insert(chave);
  EXPECT_EQ(chaves.size(), 4520u);
  EXPECT_EQ(chaves, esperadas);
}

TEST_F(DicionarioCompleto, ConcordaComABuscaEmTodaPosicao) {
  int divergencias = 0;
  for (const auto& [chave, posicao] : todasAsPosicoes()) {
    const JOGADA esperada = buscaMaxMin(posicao, min, 0).j;
    if (jogadas[chave] - '0' != esperada) {
      ++divergencias;
      ADD_FAILURE() << "key " << chave << ": rule " << jogadas[chave] << ", search " << esperada;
    }
  }
  EXPECT_EQ(divergencias, 0);
}

struct Placar {
  long vitorias = 0, empates = 0, derrotas = 0;
};

// Plays every game in which `jogadorPerfeito` moves by `escolher` and its opponent tries
// every legal move.
template <class Escolher>
void jogarTodas(JOGO j, jogador jogadorPerfeito, Escolher escolher, Placar& placar) {
  jogador vitorioso;
  if (fimDeJogo(j, &vitorioso)) {
    if (vitorioso == empate) {
      ++placar.empates;
    } else {
      ++(vitorioso == jogadorPerfeito ? placar.vitorias : placar.derrotas);
    }
    return;
  }
  if (j.jogadorAtual == jogadorPerfeito) {
    JOGO proximo = j;
    ASSERT_TRUE(inserirJogada(&proximo, escolher(&j), proximo.jogadorAtual));
    jogarTodas(proximo, jogadorPerfeito, escolher, placar);
    return;
  }
  LISTA_DE_JOGADAS lista = listaDeJogadas(&j);
  for (int i = 1; i <= lista.jogadas[0]; ++i) {
    JOGO proximo = j;
    inserirJogada(&proximo, lista.jogadas[i], proximo.jogadorAtual);
    jogarTodas(proximo, jogadorPerfeito, escolher, placar);
  }
}

template <class Escolher>
void verificarQueNuncaPerde(const char* nome, Escolher escolher) {
  for (jogador primeiro : {j1, j2}) {
    for (jogador perfeito : {primeiro, outroJogador(primeiro)}) {
      JOGO inicio;
      inicializarJogo(&inicio, primeiro);
      Placar placar;
      jogarTodas(inicio, perfeito, escolher, placar);
      const char* papel = perfeito == primeiro ? "first" : "second";
      std::printf("%s playing %s as %s: %ld won, %ld drawn, %ld lost\n", nome,
                  perfeito == j1 ? "X" : "O", papel, placar.vitorias, placar.empates,
                  placar.derrotas);
      EXPECT_EQ(placar.derrotas, 0) << nome << " as the " << papel << " player";
      EXPECT_GT(placar.vitorias, 0) << nome << " as the " << papel << " player";
    }
  }
}

TEST_F(DicionarioCompleto, ODicionarioNuncaPerde) {
  verificarQueNuncaPerde("dictionary", [](JOGO* j) { return jogarDic(j).j; });
}

TEST(JogoPerfeito, ABuscaNuncaPerde) {
  verificarQueNuncaPerde("search", [](JOGO* j) { return buscaMaxMin(*j, min, 0).j; });
}

}  // namespace
}  // namespace velha
