// Captures what a piece of code prints on standard output.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

namespace velha {

template <class F>
std::string capturarSaida(F&& imprimir) {
  std::fflush(stdout);
  std::FILE* arquivo = std::tmpfile();
  const int original = dup(fileno(stdout));
  dup2(fileno(arquivo), fileno(stdout));
  imprimir();
  std::fflush(stdout);
  dup2(original, fileno(stdout));
  close(original);
  std::string texto;
  std::rewind(arquivo);
  for (int c; (c = std::fgetc(arquivo)) != EOF;) texto += static_cast<char>(c);
  std::fclose(arquivo);
  return texto;
}

}  // namespace velha
