#include "console/linha_de_comando.h"

#include <cstdio>
#include <cstring>

#include "console/entrada.h"

namespace velha {

std::optional<int> responderAosArgumentos(int argc, char** argv, const PROGRAMA& programa) {
  if (argc <= 1) return std::nullopt;
  const bool ajuda = std::strcmp(argv[1], "--help") == 0;
  const bool versao = std::strcmp(argv[1], "--version") == 0;
  if (argc > 2 || (!ajuda && !versao)) {
    // The first argument that cannot be accepted: the second, when the first would be alone.
    const char* recusado = ajuda || versao ? argv[2] : argv[1];
    std::fprintf(stderr, "%s: unknown argument '%s'; see '%s --help'\n", programa.nome, recusado,
                 programa.nome);
    return statusDeUsoErrado;
  }
  if (ajuda) {
    std::fputs(programa.uso, stdout);
  } else {
    std::printf("%s (%s) %s\n", programa.nome, VELHA_PACOTE, VELHA_VERSAO);
  }
  const bool escrito = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
  return escrito ? statusNormal : statusDeFalha;
}

}  // namespace velha
