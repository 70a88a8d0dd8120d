#include "lookup/consulta.h"

#include <cctype>
#include <cstdlib>

#include "console/entrada.h"
#include "dictionary/dicionario.h"

namespace velha {
namespace {

constexpr int statusSemDicionario = 1;

// The stream with the number of the line its next character is on.
struct LEITOR {
  std::FILE* arquivo;
  long long linha = 1;  // wide enough that no file can overflow it

  // Skips white space, line ends counted, and returns the next character, read (EOF at
  // the end).
  int proximoVisivel() {
    int c = std::getc(arquivo);
    for (; c != EOF && std::isspace(c) != 0; c = std::getc(arquivo)) {
      if (c == '\n') ++linha;
    }
    return c;
  }
};

CARGA_DO_DICIONARIO lerPares(LEITOR& leitor) {
  for (;;) {
    const int inicio = leitor.proximoVisivel();
    if (inicio == EOF) return {carga::carregada, 0};
    std::ungetc(inicio, leitor.arquivo);
    const long long linhaDaChave = leitor.linha;
    // A key as "%d" reads it, refused unless it is a table index.
    int chave = 0;
    if (lerInteiro(leitor.arquivo, &chave) != LEITURA::lida || !chaveNoDicionario(chave)) {
      return {carga::invalida, linhaDaChave};
    }
    const int regra = leitor.proximoVisivel();
    if (regra == EOF) return {carga::invalida, linhaDaChave};
    jogadas[chave] = static_cast<char>(regra);
  }
}

}  // namespace

CARGA_DO_DICIONARIO carregarDicionario(std::FILE* arquivo) {
  LEITOR leitor{arquivo};
  const CARGA_DO_DICIONARIO lida = lerPares(leitor);
  // A read error looks like the end of the file to the reader, wherever it came.
  if (std::ferror(arquivo) != 0) return {carga::ilegivel, 0};
  return lida;
}

namespace {

CARGA_DO_DICIONARIO abrirECarregar() {
  std::FILE* arquivo = std::fopen(nomeDoDicionario, "r");
  // A file that cannot be opened is as unreadable as one whose reading fails.
  if (arquivo == nullptr) return {carga::ilegivel, 0};
  const CARGA_DO_DICIONARIO lida = carregarDicionario(arquivo);
  std::fclose(arquivo);
  return lida;
}

}  // namespace

void leDicionario() {
  const CARGA_DO_DICIONARIO lida = abrirECarregar();
  switch (lida.resultado) {
    case carga::carregada:
      return;
    case carga::invalida:
      std::printf("Arquivo de jogadas '%s' invalido na linha %lld.\n", nomeDoDicionario,
                  lida.linhaInvalida);
      break;
    case carga::ilegivel:
      std::printf("Nao foi possivel abrir o arquivo de jogadas '%s'.\n", nomeDoDicionario);
      break;
  }
  std::exit(statusSemDicionario);
}

JOGADA_VALOR jogarDic(JOGO* j) {
  const int chave = indiceDeUmDadoTabuleiro(j);
  if (!chaveNoDicionario(chave) || jogadas[chave] == semRegra) {
    std::printf("Nao ha regra definida para o jogo atual: %d.\n", chave);
    return {jogadaSemRegra, -chave};  // keys are positive, so this cannot overflow
  }
  // Read as a signed char whatever the platform's plain char, so that a stored rule that
  // is no digit names the same cell everywhere (0xC8 is -104, as on x86).
  return {static_cast<signed char>(jogadas[chave]) - '0', chave};
}

}  // namespace velha
