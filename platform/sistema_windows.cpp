#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "platform/sistema.h"

namespace velha {

long lerDoSistema(int descritor, unsigned char* destino, std::size_t tamanho) {
  const auto pedidos = static_cast<unsigned>(tamanho < INT_MAX ? tamanho : INT_MAX);
  return _read(descritor, destino, pedidos);
}

int abrirParaLer(const char* caminho) { return _open(caminho, _O_RDONLY | _O_BINARY); }

void fecharDescritor(int descritor) { _close(descritor); }

void usarFluxosBinarios() {
  for (std::FILE* fluxo : {stdin, stdout, stderr}) _setmode(_fileno(fluxo), _O_BINARY);
}

bool pastaDoPrograma(char* destino, std::size_t tamanho) {
  const auto capacidade = static_cast<DWORD>(tamanho < MAXDWORD ? tamanho : MAXDWORD);
  const DWORD comprimento = GetModuleFileNameA(nullptr, destino, capacidade);
  if (comprimento == 0 || comprimento >= capacidade) return false;  // none, or cut short
  char* separador = std::strrchr(destino, '\\');
  if (separador == nullptr) return false;
  separador[1] = '\0';
  return true;
}

}  // namespace velha
