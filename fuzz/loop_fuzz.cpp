// A program's command loop on arbitrary standard input: seeker's or scribe's, whose main
// the build renames VELHA_PROGRAM_MAIN.
#include <cstddef>
#include <cstdint>

#include "fuzz/sessao.h"

int VELHA_PROGRAM_MAIN(int argc, char** argv);

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  velha::prepararSessoes();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  velha::executarSessao(dados, tamanho, VELHA_PROGRAM_MAIN);
  return 0;
}
