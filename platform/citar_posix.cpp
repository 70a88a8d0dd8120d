// The POSIX shell's quoting, for the systems whose users paste into one (POSIX, and the
// web build's node).
#include <cstring>

#include "platform/sistema.h"

namespace velha {

namespace {

// Bytes that a POSIX shell reads as themselves outside quotes, where the text is not the
// first word: '=' is not among them, since "v=1/bin/reader" first on a line assigns.
bool simples(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::strchr("/._-+:,@%", c) != nullptr;
}

bool citarParaSh(const char* texto, char* destino, std::size_t tamanho) {
  if (!mostraOQueE(texto)) return false;
  bool bastaOTexto = *texto != '\0';
  for (const char* c = texto; *c != '\0'; ++c) {
    bastaOTexto = bastaOTexto && simples(static_cast<unsigned char>(*c));
  }
  std::size_t escritos = 0;
  const auto escrever = [&](const char* pedaco) {
    for (; *pedaco != '\0'; ++pedaco) {
      if (escritos + 1 >= tamanho) return false;
      destino[escritos++] = *pedaco;
    }
    return true;
  };
  bool coube = true;
  if (bastaOTexto) {
    coube = escrever(texto);
  } else {
    // Inside single quotes every byte is itself but the quote, which ends them: it is
    // written as a quote, an escaped quote, and a quote that opens them again.
    coube = escrever("'");
    for (const char* c = texto; coube && *c != '\0'; ++c) {
      const char umByte[] = {*c, '\0'};
      coube = escrever(*c == '\'' ? "'\\''" : umByte);
    }
    coube = coube && escrever("'");
  }
  if (!coube) return false;
  destino[escritos] = '\0';
  return true;
}

constexpr SHELL sh[] = {{"", "", citarParaSh}};

}  // namespace

std::span<const SHELL> shellsDoSistema() { return sh; }

bool temPasta(const char* caminho) { return std::strchr(caminho, '/') != nullptr; }

}  // namespace velha
