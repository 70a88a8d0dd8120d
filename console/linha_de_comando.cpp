#include "console/linha_de_comando.h"

#include <cstdio>
#include <cstring>

#include "console/entrada.h"

namespace velha {

std::optional<int> responderAosArgumentos(int argc, char** argv, const PROGRAMA& programa) {
  if (argc <= 1) return std::nullopt;
  const char* argumento = argv[1];
  if (argc == 2 && std::strcmp(argumento, "--help") == 0) {
    std::fputs(programa.uso, stdout);
  } else if (argc == 2 && std::strcmp(argumento, "--version") == 0) {
    std::printf("%s (%s) %s\n", programa.nome, VELHA_PACOTE, VELHA_VERSAO);
  } else {
    // Either option alone is accepted, so with more than one argument the second is the
    // first that cannot be.
    const bool opcao =
        std::strcmp(argumento, "--help") == 0 || std::strcmp(argumento, "--version") == 0;
    if (opcao) argumento = argv[2];
    std::fprintf(stderr, "%s: unknown argument '%s'; see '%s --help'\n", programa.nome, argumento,
                 programa.nome);
    return statusDeUsoErrado;
  }
  const bool escrito = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
  return escrito ? statusNormal : statusDeFalha;
}

}  // namespace velha
