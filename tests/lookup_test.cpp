#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <utility>
#include <vector>

#include "dictionary/dicionario.h"
#include "lookup/consulta.h"
#include "platform/sistema.h"
#include "tests/captura.h"
#include "tests/fluxo.h"
#include "tests/tabuleiro.h"

namespace velha {
namespace {

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
      inicializarJogadas();
      FluxoEmPedacos f(caso.texto, pedaco, false);
      EXPECT_EQ(carregarDicionario(&f.fonte).resultado, carga::carregada) << caso.nome;
      for (const auto& [chave, regra] : caso.regras) EXPECT_EQ(jogadas[chave], regra) << caso.nome;
      const auto comRegra = std::count_if(std::begin(jogadas), std::end(jogadas),
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
      {"BOM depois de espacos",
       " \xEF\xBB\xBF"
       "10597 0\n",
       1},
  };
  for (const auto& caso : casos) {
    for (const std::size_t pedaco : {caso.texto.size() + 1, std::size_t{1}}) {
      inicializarJogadas();
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
    inicializarJogadas();
    FluxoEmPedacos f(texto, texto.size(), false);
    const CARGA_DO_DICIONARIO lida = carregarDicionario(&f.fonte);
    EXPECT_EQ(lida.resultado, carga::invalida);
    EXPECT_EQ(lida.marca, marcaDeCodificacao::utf16);
  }
}

TEST(CarregarDicionario, ErroDeLeituraNuncaPassaPorFimDoArquivoNemPorTextoInvalido) {
  // Each text alone would load or be invalid; the error that follows it decides.
  for (const char* texto : {"", "5 1\n", "5 1\n6", "5 1\n19", "5 1\n6 "}) {
    inicializarJogadas();
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

TEST(JogarDic, RegraDaPosicao) {
  const struct {
    const char* nome;
    JOGO j;
    int chave;
    char regra;
    int casa;
  } casos[] = {
      {"vazio, X joga", tabuleiro(".........", j1), 10597, '0', 0},
      {"vazio, O joga", tabuleiro(".........", j2), 10597, '0', 0},
      {"X no canto, O joga", tabuleiro("X........", j2), 10606, '4', 4},
      {"regra que nao e algarismo", tabuleiro(".........", j1), 10597, 'z', 'z' - '0'},
      // The same cell whether plain char is signed (x86) or unsigned (ARM).
      {"byte alto lido como signed char", tabuleiro(".........", j1), 10597, '\xC8', -104},
  };
  for (auto caso : casos) {
    inicializarJogadas();
    gravarRegra(caso.chave, caso.regra);
    JOGADA_VALOR res{};
    EXPECT_EQ(capturarSaida([&] { res = jogarDic(&caso.j); }), "") << caso.nome;
    EXPECT_EQ(res.j, caso.casa) << caso.nome;
    EXPECT_EQ(res.v, caso.chave) << caso.nome;
  }
}

TEST(JogarDic, SemRegraDizAChaveEDevolveMenosUm) {
  const struct {
    const char* nome;
    JOGO j;
    int chave;
  } casos[] = {
      {"tabuleiro vazio", tabuleiro(".........", j1), 10597},
      {"X no canto, O joga", tabuleiro("X........", j2), 10606},
      // Only a finished game has a key beyond the table.
      {"O tem a linha de baixo, X joga", tabuleiro("XX.X..OOO", j1), 19819},
  };
  for (auto caso : casos) {
    inicializarJogadas();
    if (!chaveNoDicionario(caso.chave)) {
      // Rules everywhere: a key beyond the table must not be folded back onto one.
      std::fill(std::begin(jogadas), std::end(jogadas), '0');
    }
    JOGADA_VALOR res{};
    EXPECT_EQ(capturarSaida([&] { res = jogarDic(&caso.j); }),
              "Nao ha regra definida para o jogo atual: " + std::to_string(caso.chave) + ".\n")
        << caso.nome;
    EXPECT_EQ(res.j, -1) << caso.nome;
    EXPECT_EQ(res.v, -caso.chave) << caso.nome;
  }
}

// The path the hint names: the data folder from the programs' folder, never above the root,
// and never past the room it is given (the terminator included).
TEST(DicionarioCompleto, CaminhoDaPastaDosProgramas) {
  const struct {
    const char* pasta;
    const char* relativo;
    std::size_t tamanho;
    const char* esperado;  // nullptr: refused
  } casos[] = {
      {"/usr/games/", "../share/velha/dicionario.txt", 64, "/usr/share/velha/dicionario.txt"},
      {"/p/bin/", "../../x", 64, "/x"},
      {"/p/bin/", "../../../x", 64, nullptr},
      {"/", "../x", 64, nullptr},
      {"C:\\jogos\\", "dados/dicionario.txt", 64, "C:\\jogos\\dados\\dicionario.txt"},
      {"/a/", "b", 5, "/a/b"},
      {"/a/", "b", 4, nullptr},
      {"/a/", "", 4, "/a/"},
      {"/a/", "", 3, nullptr},
      {"", "x", 64, nullptr},
  };
  for (const auto& caso : casos) {
    char caminho[64];
    const bool juntou = juntarCaminho(caso.pasta, caso.relativo, caminho, caso.tamanho);
    EXPECT_EQ(juntou, caso.esperado != nullptr) << caso.pasta << caso.relativo << caso.tamanho;
    if (juntou && caso.esperado != nullptr) {
      EXPECT_STREQ(caminho, caso.esperado);
    }
  }
}

// The hint's path as one word that each of the system's shells reads back unchanged, on
// one line, and shows as it runs.
TEST(DicionarioCompleto, CaminhoCitadoParaCadaShell) {
  const struct {
    std::size_t shell;  // its place in shellsDoSistema()
    const char* texto;
    std::size_t tamanho;
    const char* esperado;  // nullptr: not offered
  } casos[] = {
#ifdef _WIN32
      {0, "C:\\jogos\\dicionario.txt", 64, "'C:\\jogos\\dicionario.txt'"},
      {0, "C:\\x$(Start-Process calc)y\\d", 64, "'C:\\x$(Start-Process calc)y\\d'"},
      {0, "C:\\it's \xE2\x80\x99q`", 64, "'C:\\it''s \xE2\x80\x99\xE2\x80\x99q`'"},
      {0, "C:\\a", 7, "'C:\\a'"},
      {0, "C:\\a", 6, nullptr},
      {1, "C:\\jogos\\dicionario.txt", 64, "C:\\jogos\\dicionario.txt"},
      {1, "C:\\Jo\xC3\xA3o $x\\d.txt", 64, "\"C:\\Jo\xC3\xA3o $x\\d.txt\""},
      {1, "C:\\a \"b", 64, nullptr},
      {1, "C:\\%PATH%\\d", 64, nullptr},
      {1, "C:\\!x!\\d", 64, nullptr},
      {1, "C:\\a b\\", 64, nullptr},
#else
      {0, "/usr/share/velha/dicionario.txt", 64, "/usr/share/velha/dicionario.txt"},
      {0, "/tmp/p sp$x\"q/d", 64, "'/tmp/p sp$x\"q/d'"},
      {0, "/tmp/it's", 64, "'/tmp/it'\\''s'"},
      {0, "/tmp/\xC3\xA3", 64, "'/tmp/\xC3\xA3'"},
      {0, "/tmp/abc9", 10, "/tmp/abc9"},
      {0, "/tmp/abc9", 9, nullptr},
      {0, "/tmp/a c", 11, "'/tmp/a c'"},
      {0, "/tmp/a c", 10, nullptr},
      {0, "", 64, "''"},
#endif
      // What does not show as it runs, in any shell.
      {0, "/tmp/a\nb", 64, nullptr},
      {0, "/tmp/a\rb", 64, nullptr},
      {0, "/tmp/a\x7F", 64, nullptr},
      {0, "/tmp/\xE2\x80\xAEtxt.exe", 64, nullptr},  // right-to-left override
      {0,
       "/tmp/a\xE2\x80\x8B"
       "b",
       64, nullptr},                          // zero-width space
      {0, "/tmp/\xC2\x85", 64, nullptr},      // a C1 control
      {0, "/tmp/\xC3", 64, nullptr},          // cut short
      {0, "/tmp/\xC0\xAF", 64, nullptr},      // an overlong '/'
      {0, "/tmp/\xED\xA0\x80", 64, nullptr},  // a surrogate
  };
  for (const auto& caso : casos) {
    char citado[64];
    const bool citou = shellsDoSistema()[caso.shell].citar(caso.texto, citado, caso.tamanho);
    EXPECT_EQ(citou, caso.esperado != nullptr) << caso.shell << " " << caso.texto;
    if (citou && caso.esperado != nullptr) {
      EXPECT_STREQ(citado, caso.esperado) << caso.texto;
    }
  }
}

}  // namespace
}  // namespace velha
