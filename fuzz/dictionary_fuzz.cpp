// The dictionary file parser on arbitrary bytes: it loads them or says where they stop
// being a dictionary, and never touches memory outside the table (ASan guards it).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "dictionary/dicionario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  using velha::carga;
  velha::FONTE fonte;
  velha::MEMORIA memoria{dados, tamanho};
  velha::abrirFonte(&fonte, velha::lerDaMemoria, &memoria, nullptr);
  const velha::CARGA_DO_DICIONARIO lida = velha::carregarDicionario(&fonte);

  // Memory never fails to read, and an invalid pair begins on a line the bytes have.
  const long long linhas = 1 + std::count(dados, dados + tamanho, '\n');
  switch (lida.resultado) {
    case carga::carregada:
      break;
    case carga::invalida:
      if (lida.linhaInvalida < 1 || lida.linhaInvalida > linhas) std::abort();
      break;
    case carga::ilegivel:
      std::abort();
  }
  return 0;
}
