#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cerrno>
#include <string>
#include <utility>
#include <vector>

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
  inicializarRegras();
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

// The file, read back.

TEST(CarregarDicionario, ArquivosValidos) {
  const struct {
    const char* nome;
    std::string texto;
    std::vector<std::pair<int, char>> regras;
  } casos[] = {
      {"vazio", "", {}},
      {"so espacos e fins de linha", " \n\t\r\n\n", {}},
      {"a ultima de duas regras vale", "5 1\n6 2\n5 3\n", {{5, '3'}, {6, '2'}}},
      {"tabulacoes e varios espacos",
       "5\t1\n6    2\n\t 7 \t 3  \n",
       {{5, '1'}, {6, '2'}, {7, '3'}}},
      {"pares na mesma linha", "5 1 6 2  7 3\n", {{5, '1'}, {6, '2'}, {7, '3'}}},
      {"CRLF", "5 1\r\n6 2\r\n", {{5, '1'}, {6, '2'}}},
      {"sem fim de linha no final", "5 1\n6 2", {{5, '1'}, {6, '2'}}},
      {"chave e regra em linhas diferentes", "5\n\n1\n", {{5, '1'}}},
      {"regra colada na chave", "5x 6 2", {{5, 'x'}, {6, '2'}}},
      {"extremos da tabela", "0 3\n19682 4\n", {{0, '3'}, {19682, '4'}}},
      {"sinal e zeros a esquerda", "+5 1\n007 2\n-0 3\n", {{5, '1'}, {7, '2'}, {0, '3'}}},
      {"regra num byte alto, guardada como lida", "5 \xC8\n", {{5, '\xC8'}}},
  };
  for (const auto& caso : casos) {
    for (const std::size_t pedaco : {caso.texto.size() + 1, std::size_t{1}}) {
      inicializarRegras();
      FluxoEmPedacos f(caso.texto, pedaco, false);
      EXPECT_EQ(carregarDicionario(&f.fonte).resultado, carga::carregada) << caso.nome;
      for (const auto& [chave, regra] : caso.regras)
        EXPECT_EQ(tabelaDeRegras[chave], regra) << caso.nome;
      const auto comRegra = std::count_if(std::begin(tabelaDeRegras), std::end(tabelaDeRegras),
                                          [](char regra) { return regra != semRegra; });
      EXPECT_EQ(comRegra, std::ssize(caso.regras)) << caso.nome;
    }
  }
}

TEST(CarregarDicionario, ArquivosInvalidosDizemALinhaDaChaveOuDoTexto) {
  const std::string enorme(400, '9');
  const struct {
    const char* nome;
    std::string texto;
    long long linha;
    marcaDeCodificacao marca = marcaDeCodificacao::nenhuma;
  } casos[] = {
      {"texto no lugar da chave", "abc 1\n", 1},
      {"texto depois de regras validas", "5 1\n6 2\nabc\n", 3},
      {"texto no lugar da segunda chave da linha", "5 1 x 2\n", 1},
      {"sinal sem algarismos", "5 1\n- 3 2\n", 2},
      {"sinal no fim do arquivo", "5 1\n+", 2},
      {"chave sem regra no fim", "5 1\n7", 2},
      {"chave sem regra antes de linhas vazias", "5 1\n7\n\n\n", 2},
      {"chave sem regra, CRLF", "5 1\r\n7\r\n\r\n", 2},
      {"um algarismo a mais vira chave sem regra", "5 12\n", 1},
      {"chave -1", "5 1\n\n-1 0\n", 3},
      {"chave 19683", "19683 0\n", 1},
      {"chave fora depois de linhas CRLF", "\r\n\r\n\t19683 0\r\n", 3},
      {"chave 2^31", "2147483648 0\n", 1},
      {"chave 2^32", "4294967296 0\n", 1},
      {"chave enorme", "\n\n" + enorme + " 0\n", 3},
      {"chave enorme negativa", "-" + enorme + " 0", 1},
      {"UTF-8 com BOM",
       "\xEF\xBB\xBF"
       "10597 0\n",
       1, marcaDeCodificacao::utf8},
      {"UTF-16LE com BOM",
       std::string("\xFF\xFE"
                   "1\0"
                   "0\0",
                   6),
       1, marcaDeCodificacao::utf16},
      {"UTF-16BE com BOM",
       std::string("\xFE\xFF\0"
                   "1",
                   4),
       1, marcaDeCodificacao::utf16},
      {"so o primeiro byte do BOM",
       "\xEF"
       "10597 0\n",
       1},
      {"so os dois primeiros bytes do BOM",
       "\xEF\xBB"
       "10597 0\n",
       1},
      {"um zero so no fim da linha", std::string("5 1\n\0", 5), 2},
      {"so bytes nulos nao e UTF-16", std::string(8, '\0'), 1},
      {"BOM depois de espacos",
       " \xEF\xBB\xBF"
       "10597 0\n",
       1},
  };
  for (const auto& caso : casos) {
    for (const std::size_t pedaco : {caso.texto.size() + 1, std::size_t{1}}) {
      inicializarRegras();
      FluxoEmPedacos f(caso.texto, pedaco, false);
      const CARGA_DO_DICIONARIO lida = carregarDicionario(&f.fonte);
      EXPECT_EQ(lida.resultado, carga::invalida) << caso.nome;
      EXPECT_EQ(lida.linhaInvalida, caso.linha) << caso.nome;
      EXPECT_EQ(lida.marca, caso.marca) << caso.nome;
    }
  }
}

// UTF-16 without a mark is told by its first line's zeros, as far as the first read holds
// that line, as a file's first read does.
TEST(CarregarDicionario, Utf16SemBomPelosZerosDaPrimeiraLinha) {
  for (const std::string& texto : {std::string("1\0"
                                               "0\0"
                                               " \0"
                                               "0\0"
                                               "\n\0",
                                               10),
                                   std::string("\0"
                                               "1"
                                               "\0"
                                               " "
                                               "\0"
                                               "0"
                                               "\0"
                                               "\n",
                                               8)}) {
    inicializarRegras();
    FluxoEmPedacos f(texto, texto.size(), false);
    const CARGA_DO_DICIONARIO lida = carregarDicionario(&f.fonte);
    EXPECT_EQ(lida.resultado, carga::invalida);
    EXPECT_EQ(lida.marca, marcaDeCodificacao::utf16);
  }
}

TEST(CarregarDicionario, ErroDeLeituraNuncaPassaPorFimDoArquivoNemPorTextoInvalido) {
  // Each text alone would load or be invalid; the error that follows it decides.
  for (const char* texto : {"", "5 1\n", "5 1\n6", "5 1\n19", "5 1\n6 "}) {
    inicializarRegras();
    FluxoEmPedacos fluxo(texto, 2, true);
    const CARGA_DO_DICIONARIO lida = carregarDicionario(&fluxo.fonte);
    EXPECT_EQ(lida.resultado, carga::ilegivel) << '"' << texto << '"';
    EXPECT_EQ(lida.erro, EIO) << '"' << texto << '"';
  }
}

// Bytes without end, as from /dev/zero: the first block holds the verdict.
TEST(CarregarDicionario, ParaNoByteQueTornaOArquivoInvalido) {
  for (const unsigned char byte : {'\0', 'x', '9'}) {
    FONTE fonte;
    struct SEM_FIM {
      unsigned char byte;
      int leituras;
    } semFim{byte, 0};
    abrirFonte(
        &fonte,
        [](void* origem, unsigned char* destino, std::size_t tamanho) -> long {
          auto* s = static_cast<SEM_FIM*>(origem);
          ++s->leituras;
          std::fill_n(destino, tamanho, s->byte);
          return static_cast<long>(tamanho);
        },
        &semFim, nullptr);
    const CARGA_DO_DICIONARIO lida = carregarDicionario(&fonte);
    EXPECT_EQ(lida.resultado, carga::invalida) << int{byte};
    EXPECT_EQ(lida.linhaInvalida, 1) << int{byte};
    EXPECT_EQ(semFim.leituras, 1) << int{byte};
  }
}

}  // namespace
}  // namespace velha
