#include "cli/programa.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "input/entrada.h"
#include "platform/sistema.h"

namespace velha {
namespace {

bool eh(const char* argumento, const char* opcao) { return std::strcmp(argumento, opcao) == 0; }

int recusar(const PROGRAMA& programa, const char* argumento) {
  std::fprintf(stderr, "%s: unknown argument '%s'; see '%s --help'\n", programa.nome, argumento,
               programa.nome);
  return statusDeUsoErrado;
}

int responder(const PROGRAMA& programa, bool ajuda) {
  if (ajuda) {
    std::fputs(programa.uso, stdout);
  } else {
    std::printf("%s (%s) %s\n", programa.nome, VELHA_PACOTE, VELHA_VERSAO);
  }
  if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return statusNormal;
  explicarFalha(programa, "standard output", errno);
  return statusDeFalha;
}

}  // namespace

std::optional<int> iniciarPrograma(int argc, char** argv, const PROGRAMA& programa) {
  usarFluxosBinarios();
  if (argc <= 1) return std::nullopt;
  const bool ajuda = eh(argv[1], "--help");
  const bool versao = eh(argv[1], "--version");
  if (argc > 2 || (!ajuda && !versao)) {
    // The first argument that cannot be accepted: the second, when the first would be alone.
    return recusar(programa, ajuda || versao ? argv[2] : argv[1]);
  }
  return responder(programa, ajuda);
}

void explicarFalha(const PROGRAMA& programa, const char* oQue, int erro) {
  std::fflush(stdout);
  std::fprintf(stderr, "%s: %s: %s\n", programa.nome, oQue, std::strerror(erro != 0 ? erro : EIO));
}

int statusAoEncerrar(const PROGRAMA& programa) {
  FONTE* entrada = entradaDosComandos();
  // The last flush is where a reply still in the buffer is found lost; saidaIntacta finds
  // a failure that left nothing to flush.
  if (std::fflush(stdout) != 0) {
    entrada->estado = estadoDaFonte::saidaFalhou;
    entrada->erro = errno;
  }
  saidaIntacta(entrada);
  switch (entrada->estado) {
    case estadoDaFonte::saidaFalhou:
      explicarFalha(programa, "standard output", entrada->erro);
      return statusDeFalha;
    case estadoDaFonte::leituraFalhou:
      explicarFalha(programa, "standard input", entrada->erro);
      return statusDeFalha;
    case estadoDaFonte::lendo:
    case estadoDaFonte::terminada:
      return statusNormal;
  }
  return statusNormal;
}

}  // namespace velha
