#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "dictionary/dicionario.h"
#include "lookup/consulta.h"
#include "platform/sistema.h"
#include "tests/captura.h"
#include "tests/tabuleiro.h"

namespace velha {
namespace {

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
    inicializarRegras();
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
    inicializarRegras();
    if (!chaveNoDicionario(caso.chave)) {
      // Rules everywhere: a key beyond the table must not be folded back onto one.
      std::fill(std::begin(tabelaDeRegras), std::end(tabelaDeRegras), '0');
    }
    JOGADA_VALOR res{};
    EXPECT_EQ(capturarSaida([&] { res = jogarDic(&caso.j); }),
              "Nao ha regra definida para o jogo atual: " + std::to_string(caso.chave) + ".\n")
        << caso.nome;
    EXPECT_EQ(res.j, -1) << caso.nome;
    EXPECT_EQ(res.v, caso.chave) << caso.nome;
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
      // cmd ends a bare command name at ',', ';' or '=': every path is quoted.
      {1, "C:\\jogos\\dicionario.txt", 64, "\"C:\\jogos\\dicionario.txt\""},
      {1, "C:\\a,b;c=d\\reader.exe", 64, "\"C:\\a,b;c=d\\reader.exe\""},
      {1, "C:\\a", 7, "\"C:\\a\""},
      {1, "C:\\a", 6, nullptr},
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
      {0, "v=1/bin/reader", 64, "'v=1/bin/reader'"},  // bare, first on a line, it assigns
#endif
      // What does not show as it runs, in any shell.
      {0, "/tmp/a\nb", 64, nullptr},
      {0, "/tmp/a\rb", 64, nullptr},
      {0, "/tmp/a\x7F", 64, nullptr},
      {0, "/tmp/\xE2\x80\xAEtxt.exe", 64, nullptr},  // right-to-left override
      {0,
       "/tmp/a\xE2\x80\x8B"
       "b",
       64, nullptr},                           // zero-width space
      {0, "/tmp/\xC2\x85", 64, nullptr},       // a C1 control
      {0, "/tmp/a\xE2\x80\xA9", 64, nullptr},  // U+2029, a paragraph separator
      {0, "/tmp/\xE3\x85\xA4", 64, nullptr},   // U+3164, default-ignorable, as are these
      {0, "/tmp/\xEF\xB8\x8F", 64, nullptr},
      {0, "/tmp/\xF3\xA0\x81\x81", 64, nullptr},
      {0, "/tmp/\xCD\x8F", 64, nullptr},
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
