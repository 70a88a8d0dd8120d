#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/pagina.h"
#include "platform/sistema.h"

namespace velha {

char** argumentosDoPrograma(int* /*argc*/, char** argv) { return argv; }

long lerDoSistema(int descritor, unsigned char* destino, std::size_t tamanho) {
  for (;;) {
    const ssize_t lidos = read(descritor, destino, tamanho);
    if (lidos >= 0) return lidos;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return -1;
    // A descriptor its opener made non-blocking, with nothing to read yet: wait, as a
    // blocking read would, until there is something (or an end, or an error) to read.
    pollfd esperado{descritor, POLLIN, 0};
    if (poll(&esperado, 1, -1) < 0 && errno != EINTR) return -1;
  }
}

int abrirParaLer(const char* caminho) {
  int descritor = -1;
  do {
    descritor = open(caminho, O_RDONLY | O_CLOEXEC);
  } while (descritor < 0 && errno == EINTR);
  return descritor;
}

int abrirSemEsperar(const char* caminho) {
  int descritor = -1;
  do {
    descritor = open(caminho, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  } while (descritor < 0 && errno == EINTR);
  return descritor;
}

void fecharDescritor(int descritor) { close(descritor); }

bool eArquivoComum(int descritor) {
  struct stat estado {};
  return fstat(descritor, &estado) == 0 && S_ISREG(estado.st_mode);
}

void usarFluxosBinarios() {}  // POSIX streams never translate

void mostrarOJogo(const char* /*casas*/, char /*vez*/, char /*fim*/, int /*jogada*/) {}

bool haUmaPagina() { return false; }

void mostrarAsRegras(int /*quantas*/) {}

// Linux names the program's file in /proc; where there is no /proc (macOS, the BSDs) the
// folder is unknown, and only what depends on it (a hint) is left out.
bool pastaDoPrograma(char* destino, std::size_t tamanho) {
  if (tamanho < 2) return false;
  const ssize_t comprimento = readlink("/proc/self/exe", destino, tamanho - 1);
  // One byte is kept free for the terminator: a name that fills the rest may be cut short.
  if (comprimento <= 0 || static_cast<std::size_t>(comprimento) >= tamanho - 1) return false;
  destino[comprimento] = '\0';
  char* separador = std::strrchr(destino, '/');
  if (separador == nullptr) return false;
  separador[1] = '\0';
  return true;
}

}  // namespace velha
