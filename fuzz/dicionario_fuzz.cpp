// The dictionary file parser on arbitrary bytes: it loads them or says where they stop
// being a dictionary, and never touches memory outside the table (ASan guards it).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "dictionary/dicionario.h"
#include "lookup/consulta.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  using velha::carga;
  velha::inicializarJogadas();
  // A stream over no bytes at all cannot be made; an empty file is a unit test.
  if (tamanho == 0) return 0;
  std::FILE* arquivo = fmemopen(const_cast<std::uint8_t*>(dados), tamanho, "r");
  if (arquivo == nullptr) std::abort();
  const velha::CARGA_DO_DICIONARIO lida = velha::carregarDicionario(arquivo);
  std::fclose(arquivo);

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
