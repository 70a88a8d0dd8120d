// scribe's command loop on arbitrary standard input.
#include <cstddef>
#include <cstdint>

#include "fuzz/sessao.h"

int scribeMain(int argc, char** argv);  // programs/scribe/main.cpp, renamed

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  velha::prepararSessoes();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  velha::executarSessao(dados, tamanho, scribeMain);
  return 0;
}
