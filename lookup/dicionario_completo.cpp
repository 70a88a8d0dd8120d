#include <cstring>

#include "lookup/consulta.h"
#include "platform/sistema.h"

namespace velha {

bool juntarCaminho(const char* pasta, const char* relativo, char* caminho, std::size_t tamanho) {
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

bool acharDicionarioCompleto(char* caminho, std::size_t tamanho) {
  char pasta[tamanhoDeUmCaminho];
  if (!pastaDoPrograma(pasta, sizeof pasta)) return false;
  if (!juntarCaminho(pasta, dicionarioDosProgramas, caminho, tamanho)) return false;
  const int descritor = abrirSemEsperar(caminho);
  if (descritor < 0) return false;
  const bool comum = eArquivoComum(descritor);
  fecharDescritor(descritor);
  return comum;
}

}  // namespace velha
