#include "lookup/consulta.h"

#include <cctype>
#include <cstdlib>

#include "dictionary/dicionario.h"

namespace {

constexpr int statusSemDicionario = 1;
constexpr int base = 10;

bool digito(int c) { return c >= '0' && c <= '9'; }

// The stream one character ahead, with the number of the line that character is on.
struct LEITOR {
  std::FILE* arquivo;
  int c = std::getc(arquivo);
  long long linha = 1;  // wide enough that no file can overflow it

  void avancar() { c = std::getc(arquivo); }

  void pularEspacos() {
    while (c != EOF && std::isspace(c) != 0) {
      if (c == '\n') ++linha;
      avancar();
    }
  }
};

// A key as "%d" reads it (an optional sign, then digits), refused unless it is a table
// index. The value is checked after every digit, so a key of any length never overflows.
bool lerChave(LEITOR& leitor, int* chave) {
  const bool negativo = leitor.c == '-';
  if (leitor.c == '-' || leitor.c == '+') leitor.avancar();
  if (!digito(leitor.c)) return false;
  int valor = 0;
  for (; digito(leitor.c); leitor.avancar()) {
    valor = valor * base + (leitor.c - '0');
    if (!chaveNoDicionario(valor)) return false;
  }
  if (negativo && valor != 0) return false;
  *chave = valor;
  return true;
}

CARGA_DO_DICIONARIO lerPares(LEITOR& leitor) {
  for (;;) {
    leitor.pularEspacos();
    if (leitor.c == EOF) return {carga::carregada, 0};
    const long long linhaDaChave = leitor.linha;
    int chave = 0;
    if (!lerChave(leitor, &chave)) return {carga::invalida, linhaDaChave};
    leitor.pularEspacos();
    if (leitor.c == EOF) return {carga::invalida, linhaDaChave};
    jogadas[chave] = static_cast<char>(leitor.c);
    leitor.avancar();
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
  return {jogadas[chave] - '0', chave};
}
