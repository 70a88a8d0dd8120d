#include <cstring>

#include "lookup/consulta.h"
#include "platform/sistema.h"

namespace velha {
namespace {

// Where the complete dictionary lies from the programs' folder, in the order they are
// tried: as installed, then in a build tree. Set by the build from the install layout.
constexpr const char* dicionariosCompletos[] = {VELHA_DICIONARIO_INSTALADO,
                                                VELHA_DICIONARIO_DO_BUILD};

// pasta, ended by its separator, followed by relativo, whose "../" each take a folder off
// pasta and whose '/' become pasta's separator: a path as the system writes it.
bool juntar(const char* pasta, const char* relativo, char* caminho, std::size_t tamanho) {
  std::size_t comprimento = std::strlen(pasta);
  if (comprimento == 0 || comprimento >= tamanho) return false;
  const char separador = pasta[comprimento - 1];
  std::memcpy(caminho, pasta, comprimento);
  for (; std::strncmp(relativo, "../", 3) == 0; relativo += 3) {
    do {
      if (--comprimento == 0) return false;  // above the root
    } while (caminho[comprimento - 1] != separador);
  }
  for (; *relativo != '\0'; ++relativo) {
    if (comprimento + 1 >= tamanho) return false;
    caminho[comprimento++] = *relativo == '/' ? separador : *relativo;
  }
  caminho[comprimento] = '\0';
  return true;
}

}  // namespace

bool acharDicionarioCompleto(char* caminho, std::size_t tamanho) {
  char pasta[tamanhoDeUmCaminho];
  if (!pastaDoPrograma(pasta, sizeof pasta)) return false;
  for (const char* relativo : dicionariosCompletos) {
    if (!juntar(pasta, relativo, caminho, tamanho)) continue;
    const int descritor = abrirParaLer(caminho);
    if (descritor < 0) continue;
    fecharDescritor(descritor);
    return true;
  }
  return false;
}

}  // namespace velha
