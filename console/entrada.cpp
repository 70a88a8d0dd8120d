#include "console/entrada.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>

namespace velha {
namespace {

bool espaco(int c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool digito(int c) { return c >= '0' && c <= '9'; }

LEITURA recusarRestoDaLinha(std::FILE* entrada, int c) {
  while (c != '\n' && c != EOF) c = std::getc(entrada);
  if (c == '\n') std::ungetc(c, entrada);
  return LEITURA::invalida;
}

}  // namespace

bool lerComando(std::FILE* entrada, char* comando) {
  const int c = std::getc(entrada);
  if (c == EOF) return false;
  *comando = static_cast<char>(c);
  return true;
}

bool descartarLinha(std::FILE* entrada, char ultimoLido) {
  while (ultimoLido != '\n') {
    if (!lerComando(entrada, &ultimoLido)) return false;
  }
  return true;
}

LEITURA lerInteiro(std::FILE* entrada, int* valor) {
  int c = std::getc(entrada);
  while (espaco(c)) c = std::getc(entrada);
  if (c == EOF) return LEITURA::fimDaEntrada;

  const bool negativo = c == '-';
  if (c == '-' || c == '+') c = std::getc(entrada);
  if (!digito(c)) return recusarRestoDaLinha(entrada, c);

  // Accumulated as a negative number, whose range holds INT_MIN as well.
  int acumulado = 0;
  for (; digito(c); c = std::getc(entrada)) {
    const int algarismo = c - '0';
    if (acumulado < (INT_MIN + algarismo) / 10) return recusarRestoDaLinha(entrada, c);
    acumulado = acumulado * 10 - algarismo;
  }
  if (!negativo && acumulado == INT_MIN) return recusarRestoDaLinha(entrada, c);
  if (c != EOF) std::ungetc(c, entrada);
  *valor = negativo ? acumulado : -acumulado;
  return LEITURA::lida;
}

bool lerProximoComando(std::FILE* entrada, std::FILE* saida, char* comando) {
  return std::ferror(saida) == 0 && lerComando(entrada, comando);
}

int statusAoEncerrar(std::FILE* entrada, std::FILE* saida) {
  const bool saidaPerdida = std::fflush(saida) != 0 || std::ferror(saida) != 0;
  return saidaPerdida || std::ferror(entrada) != 0 ? statusDeFalha : statusNormal;
}

namespace {

std::FILE* entradaAtual = nullptr;

// Called by the stream only when its buffer is empty: the moment a reply must be out.
ssize_t lerDoSistema(void* saida, char* destino, std::size_t tamanho) {
  if (std::fflush(static_cast<std::FILE*>(saida)) != 0) return 0;
  ssize_t lidos = 0;
  do {
    lidos = read(fileno(stdin), destino, tamanho);
  } while (lidos < 0 && errno == EINTR);
  return lidos;
}

std::FILE* abrirSobreAEntrada(std::FILE* saida) {
#if defined(__APPLE__)
  return funopen(
      saida,
      [](void* s, char* destino, int tamanho) {
        return static_cast<int>(lerDoSistema(s, destino, static_cast<std::size_t>(tamanho)));
      },
      nullptr, nullptr, nullptr);
#else
  return fopencookie(saida, "r", {lerDoSistema, nullptr, nullptr, nullptr});
#endif
}

}  // namespace

std::FILE* abrirEntradaDosComandos(std::FILE* saida) {
  // Without memory for the stream, plain standard input still plays, only without the
  // flush before each wait.
  std::FILE* entrada = abrirSobreAEntrada(saida);
  entradaAtual = entrada != nullptr ? entrada : stdin;
  return entradaAtual;
}

int encerrarEntradaDosComandos(std::FILE* entrada, std::FILE* saida) {
  const int status = statusAoEncerrar(entrada, saida);
  if (entrada != stdin) std::fclose(entrada);
  entradaAtual = nullptr;
  return status;
}

std::FILE* entradaDosComandos() { return entradaAtual != nullptr ? entradaAtual : stdin; }

}  // namespace velha
