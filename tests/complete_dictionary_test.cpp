// The complete dictionary written by the build (target `complete_dictionary`), checked
// against every position that can arise in play, and its perfect play against every
// sequence of opponent moves.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "dictionary/dicionario.h"
#include "lookup/consulta.h"
#include "platform/sistema.h"
#include "search/busca.h"
#include "tests/arvore.h"

namespace velha {
namespace {

// Every unfinished position reachable from the empty board, with either side first,
// by key (a position and its colour-swapped twin share one).
const std::map<int, JOGO>& todasAsPosicoes() {
  static const std::map<int, JOGO> posicoes = [] {
    std::map<int, JOGO> p;
    for (jogador primeiro : {j1, j2}) {
      percorrerJogoDesdeOInicio(primeiro, [&](const JOGO& j) {
        JOGO copia = j;
        const bool nova = !jogoEncerrado(j) && p.emplace(indiceDeUmDadoTabuleiro(&copia), j).second;
        return nova ? seguirTodas : naoSeguir;
      });
    }
    return p;
  }();
  return posicoes;
}

class DicionarioCompleto : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    inicializarRegras();
    const CARGA_DO_DICIONARIO lida = leDicionario(DICIONARIO_COMPLETO, false);
    ASSERT_EQ(lida.resultado, carga::carregada) << "invalid at line " << lida.linhaInvalida;
  }
};

// The hint finds the build's dictionary beside the program, and leaves no descriptor open:
// each open takes the lowest one free.
TEST_F(DicionarioCompleto, AchadoAoLadoDoProgramaSemDeixarDescritorAberto) {
  const int antes = abrirParaLer(DICIONARIO_COMPLETO);
  fecharDescritor(antes);
  char caminho[tamanhoDeUmCaminho];
  ASSERT_TRUE(acharDicionarioCompleto(caminho, sizeof caminho));
  const int depois = abrirParaLer(DICIONARIO_COMPLETO);
  fecharDescritor(depois);
  EXPECT_EQ(depois, antes);
}

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
    if (tabelaDeRegras[chave] - '0' != esperada) {
      ++divergencias;
      ADD_FAILURE() << "key " << chave << ": rule " << tabelaDeRegras[chave] << ", search "
                    << esperada;
    }
  }
  EXPECT_EQ(divergencias, 0);
}

TEST_F(DicionarioCompleto, ODicionarioNuncaPerde) {
  for (jogador primeiro : {j1, j2}) {
    for (jogador perfeito : {primeiro, outroJogador(primeiro)}) {
      const PLACAR placar =
          jogarContraTodos(primeiro, perfeito, [](JOGO* j) { return jogarDic(j).j; });
      EXPECT_EQ(placar.derrotas, 0) << primeiro << perfeito;
      EXPECT_EQ(placar.recusadas, 0) << primeiro << perfeito;
      EXPECT_GT(placar.vitorias, 0) << primeiro << perfeito;
    }
  }
}

}  // namespace
}  // namespace velha
