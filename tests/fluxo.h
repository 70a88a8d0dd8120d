// A stream holding a given text, read from its start, for tests of the readers.
#pragma once

#include <cstdio>
#include <string>

namespace velha {

struct Fluxo {
  explicit Fluxo(const std::string& texto) : arquivo(std::tmpfile()) {
    std::fputs(texto.c_str(), arquivo);
    std::rewind(arquivo);
  }
  ~Fluxo() { std::fclose(arquivo); }
  Fluxo(const Fluxo&) = delete;
  Fluxo& operator=(const Fluxo&) = delete;
  std::string resto() {
    std::string r;
    for (int c; (c = std::getc(arquivo)) != EOF;) r += static_cast<char>(c);
    return r;
  }
  std::FILE* arquivo;
};

}  // namespace velha
