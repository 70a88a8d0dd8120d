// The system's reasons and plain text output where the C library's errno and streams are
// the system's own: POSIX, and the web build's emulation of it.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/sistema.h"

namespace velha {

int erroDoSistema() { return errno; }

const char* descreverErro(int erro) { return std::strerror(erro); }

bool faltaOArquivo(int erro) { return erro == ENOENT; }

void escreverTexto(std::FILE* fluxo, const char* texto) { std::fputs(texto, fluxo); }

}  // namespace velha
