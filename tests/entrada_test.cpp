#include "console/entrada.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "tests/fluxo.h"

namespace velha {
namespace {

TEST(LerPosicao, NumerosLidosComoPercentD) {
  const struct {
    const char* entrada;
    int valor;
    const char* resto;
  } casos[] = {
      {"4\n", 4, "\n"},
      {"  \n\t 7 x\n", 7, " x\n"},
      {"4x\n", 4, "x\n"},
      {"-1\n", -1, "\n"},
      {"+8", 8, ""},
      {"007\n", 7, "\n"},
      {"2147483647\n", INT_MAX, "\n"},
      {"-2147483648\n", INT_MIN, "\n"},
  };
  for (const auto& caso : casos) {
    Fluxo f(caso.entrada);
    int valor = 12345;
    EXPECT_EQ(lerInteiro(f.arquivo, &valor), LEITURA::lida) << caso.entrada;
    EXPECT_EQ(valor, caso.valor) << caso.entrada;
    EXPECT_EQ(f.resto(), caso.resto) << caso.entrada;
  }
}

TEST(LerPosicao, TextoQueNaoENumeroDescartaAteOFimDaLinha) {
  const struct {
    const char* entrada;
    const char* resto;
  } casos[] = {
      {" x 4\nj 2\n", "\nj 2\n"},
      {"\n\nabc\nq\n", "\nq\n"},
      {"-\n", "\n"},
      {"+-3 q\nq", "\nq"},
      {"2147483648\nq", "\nq"},
      {"-2147483649 9\n", "\n"},
      {"99999999999999999999999999999999999999\n", "\n"},
      {"x", ""},
  };
  for (const auto& caso : casos) {
    Fluxo f(caso.entrada);
    int valor = 12345;
    EXPECT_EQ(lerInteiro(f.arquivo, &valor), LEITURA::invalida) << caso.entrada;
    EXPECT_EQ(valor, 12345) << caso.entrada;
    EXPECT_EQ(f.resto(), caso.resto) << caso.entrada;
  }
}

TEST(LerPosicao, FimDaEntradaAntesDoNumero) {
  for (const char* entrada : {"", "   ", " \n \n"}) {
    Fluxo f(entrada);
    int valor = 0;
    EXPECT_EQ(lerInteiro(f.arquivo, &valor), LEITURA::fimDaEntrada) << '"' << entrada << '"';
  }
}

TEST(LerComando, DescartarLinhaParaNoFimDaLinhaOuDaEntrada) {
  Fluxo f("abc\nq");
  char c = 0;
  ASSERT_TRUE(lerComando(f.arquivo, &c));
  EXPECT_TRUE(descartarLinha(f.arquivo, c));
  ASSERT_TRUE(lerComando(f.arquivo, &c));
  EXPECT_EQ(c, 'q');
  EXPECT_FALSE(lerComando(f.arquivo, &c));

  Fluxo semFimDeLinha("abc");
  ASSERT_TRUE(lerComando(semFimDeLinha.arquivo, &c));
  EXPECT_FALSE(descartarLinha(semFimDeLinha.arquivo, c));
}

}  // namespace

namespace {

// A stream that refuses every read, as standard input opened on a folder does.
std::FILE* entradaIlegivel() { return std::fopen("/dev/null", "w"); }

TEST(StatusAoEncerrar, FalhaQuandoASaidaSePerdeOuAEntradaNaoPodeSerLida) {
  const struct {
    const char* nome;
    const char* saida;
    const char* impresso;
    bool entradaLegivel;
    int status;
  } casos[] = {
      {"tudo escrito", "/dev/null", "tabuleiro\n", true, statusNormal},
      {"nada impresso", "/dev/null", "", true, statusNormal},
      // Still in the buffer when the loop ends: only the flush finds out.
      {"saida cheia", "/dev/full", "tabuleiro\n", true, statusDeFalha},
      {"entrada com erro", "/dev/null", "tabuleiro\n", false, statusDeFalha},
  };
  for (const auto& caso : casos) {
    std::FILE* saida = std::fopen(caso.saida, "w");
    ASSERT_NE(saida, nullptr) << caso.nome;
    std::fputs(caso.impresso, saida);
    Fluxo legivel("q\n");
    std::FILE* ilegivel = entradaIlegivel();
    std::FILE* entrada = caso.entradaLegivel ? legivel.arquivo : ilegivel;
    char c = 0;
    while (lerComando(entrada, &c)) {
    }
    EXPECT_EQ(statusAoEncerrar(entrada, saida), caso.status) << caso.nome;
    std::fclose(ilegivel);
    std::fclose(saida);
  }
}

TEST(LerProximoComando, NaoLeMaisNadaDepoisQueASaidaFalhou) {
  std::FILE* saida = std::fopen("/dev/full", "w");
  ASSERT_NE(saida, nullptr);
  Fluxo f("bj 4\n");
  char c = 0;
  ASSERT_TRUE(lerProximoComando(f.arquivo, saida, &c));
  EXPECT_EQ(c, 'b');
  std::fputc('x', saida);
  std::fflush(saida);  // fails, as a full buffer's write would
  EXPECT_FALSE(lerProximoComando(f.arquivo, saida, &c));
  EXPECT_EQ(f.resto(), "j 4\n");
  EXPECT_EQ(statusAoEncerrar(f.arquivo, saida), statusDeFalha);
  std::fclose(saida);
}

}  // namespace
}  // namespace velha
