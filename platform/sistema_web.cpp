// The browser as one more system, through WebAssembly: every call that reaches outside
// the program is a function of platform/web/sistema.js, which hands it to the page, or,
// under node (which runs the test suite), to the process's own descriptors and files.
// The C library's output (printf) reaches the same place through that file's fd_write.
#include <cerrno>
#include <cstring>

#include "platform/pagina.h"
#include "platform/sistema.h"

// Each returns a count, or a negated errno.
extern "C" {
// Waits, without blocking the page, for the next bytes of the descriptor.
int velha_ler(int descritor, unsigned char* destino, int tamanho);
int velha_abrir(const char* caminho);
void velha_fechar(int descritor);
// 1 when the descriptor reads a regular file, else 0.
int velha_comum(int descritor);
// 1 when a page shows the game (none under node), else 0; and handing it the game.
int velha_pagina();
void velha_jogo(const char* casas, int vez, int fim, int jogada);
void velha_regras(int quantas);
// The program's folder, ended by '/', or 0 where it has none (in the page).
int velha_pasta(char* destino, int tamanho);
}

namespace velha {
namespace {

long comErrno(int resultado) {
  if (resultado >= 0) return resultado;
  errno = -resultado;
  return -1;
}

}  // namespace

char** argumentosDoPrograma(int* /*argc*/, char** argv) { return argv; }

long lerDoSistema(int descritor, unsigned char* destino, std::size_t tamanho) {
  constexpr std::size_t maiorPedido = 1 << 30;
  const auto pedidos = static_cast<int>(tamanho < maiorPedido ? tamanho : maiorPedido);
  return comErrno(velha_ler(descritor, destino, pedidos));
}

int abrirParaLer(const char* caminho) { return static_cast<int>(comErrno(velha_abrir(caminho))); }

int abrirSemEsperar(const char* caminho) { return abrirParaLer(caminho); }  // no FIFOs

void fecharDescritor(int descritor) { velha_fechar(descritor); }

bool eArquivoComum(int descritor) { return velha_comum(descritor) == 1; }

bool haUmaPagina() { return velha_pagina() == 1; }

void mostrarOJogo(const char* casas, char vez, char fim, int jogada) {
  std::fflush(stdout);  // so that the page shows the board after what led to it
  velha_jogo(casas, vez, fim, jogada);
}

void mostrarAsRegras(int quantas) { velha_regras(quantas); }

void usarFluxosBinarios() {}  // bytes pass unchanged both ways

bool pastaDoPrograma(char* destino, std::size_t tamanho) {
  constexpr std::size_t maiorPasta = 1 << 20;
  return velha_pasta(destino, static_cast<int>(tamanho < maiorPasta ? tamanho : maiorPasta)) > 0;
}

}  // namespace velha
