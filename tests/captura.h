// Captures what a piece of code prints on standard output.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

namespace velha {

// Standard output goes to a file of its own while imprimir runs: a named one, one per
// process, since the web build's dup2 opens the file again by its name (tmpfile's has none).
template <class F>
std::string capturarSaida(F&& imprimir) {
  const std::string nome = "captura-" + std::to_string(getpid()) + ".txt";
  std::fflush(stdout);
  std::FILE* arquivo = std::fopen(nome.c_str(), "w+b");
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
  std::remove(nome.c_str());
  return texto;
}

}  // namespace velha
