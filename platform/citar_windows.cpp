// The quoting of the shells Windows users paste into: PowerShell and cmd.
#include <cstring>

#include "platform/sistema.h"

namespace velha {

namespace {

// PowerShell: in single quotes every character is itself but the four it reads as a
// single quote (' and the typographic ones), each written twice.
bool citarParaPowerShell(const char* texto, char* destino, std::size_t tamanho) {
  if (!mostraOQueE(texto)) return false;
  constexpr const char* aspasSimples[] = {"'", "\xE2\x80\x98", "\xE2\x80\x99", "\xE2\x80\x9A",
                                          "\xE2\x80\x9B"};
  std::size_t escritos = 0;
  const auto escrever = [&](const char* pedaco, std::size_t comprimento) {
    if (escritos + comprimento + 1 > tamanho) return false;
    std::memcpy(destino + escritos, pedaco, comprimento);
    escritos += comprimento;
    return true;
  };
  bool coube = escrever("'", 1);
  for (const char* c = texto; coube && *c != '\0';) {
    std::size_t comprimento = 1;
    bool aspa = false;
    for (const char* simples : aspasSimples) {
      if (std::strncmp(c, simples, std::strlen(simples)) == 0) {
        comprimento = std::strlen(simples);
        aspa = true;
      }
    }
    coube = escrever(c, comprimento) && (!aspa || escrever(c, comprimento));
    c += comprimento;
  }
  coube = coube && escrever("'", 1);
  if (!coube) return false;
  destino[escritos] = '\0';
  return true;
}

// cmd.exe: always in double quotes, since bare it ends a command's name at ',', ';' or
// '='; within them a quote ends them, % expands a variable and ! does too where delayed
// expansion is on: a text with any of them is not offered.
bool citarParaCmd(const char* texto, char* destino, std::size_t tamanho) {
  if (!mostraOQueE(texto) || std::strpbrk(texto, "\"%!") != nullptr) return false;
  const std::size_t comprimento = std::strlen(texto);
  // A backslash before the closing quote would escape it.
  if (comprimento == 0 || texto[comprimento - 1] == '\\') return false;
  constexpr std::size_t aspas = 2;
  if (comprimento + aspas + 1 > tamanho) return false;
  destino[0] = '"';
  std::memcpy(destino + 1, texto, comprimento);
  destino[comprimento + 1] = '"';
  destino[comprimento + 2] = '\0';
  return true;
}

// PowerShell runs a program named by a quoted path only after its call operator.
constexpr SHELL shells[] = {{"PowerShell", "& ", citarParaPowerShell}, {"cmd", "", citarParaCmd}};

}  // namespace

std::span<const SHELL> shellsDoSistema() { return shells; }

}  // namespace velha
