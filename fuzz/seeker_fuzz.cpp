// seeker's command loop on arbitrary standard input.
#include <cstddef>
#include <cstdint>

#include "fuzz/sessao.h"

int seekerMain(int argc, char** argv);  // programs/seeker/main.cpp, renamed

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  velha::prepararSessoes();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  velha::executarSessao(dados, tamanho, seekerMain);
  return 0;
}
