// Sources of bytes for tests of the readers: a text held in memory, or a text handed out
// a few bytes at a time, as a pipe may, and then either ended or failed, as a disk may.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

#include "input/entrada.h"

namespace velha {

// What is left of the source, to its end.
inline std::string restoDaFonte(FONTE* fonte) {
  std::string resto;
  for (int c; (c = lerByte(fonte)) != fimDaFonte;) resto += static_cast<char>(c);
  return resto;
}

struct Fluxo {
  explicit Fluxo(std::string t) : texto(std::move(t)) {
    memoria = {reinterpret_cast<const unsigned char*>(texto.data()), texto.size()};
    abrirFonte(&fonte, lerDaMemoria, &memoria, nullptr);
  }
  Fluxo(const Fluxo&) = delete;
  Fluxo& operator=(const Fluxo&) = delete;
  std::string resto() { return restoDaFonte(&fonte); }
  std::string texto;
  MEMORIA memoria;
  FONTE fonte;
};

struct FluxoEmPedacos {
  FluxoEmPedacos(std::string t, std::size_t pedaco, bool falhaNoFim,
                 std::FILE* saidaAEsvaziar = nullptr)
      : texto(std::move(t)), pedaco(pedaco), falhaNoFim(falhaNoFim) {
    abrirFonte(&fonte, ler, this, saidaAEsvaziar);
  }
  FluxoEmPedacos(const FluxoEmPedacos&) = delete;
  FluxoEmPedacos& operator=(const FluxoEmPedacos&) = delete;

  static long ler(void* origem, unsigned char* destino, std::size_t tamanho) {
    auto* f = static_cast<FluxoEmPedacos*>(origem);
    ++f->leituras;
    if (f->lidos == f->texto.size()) {
      if (!f->falhaNoFim) return 0;
      errno = EIO;
      return -1;
    }
    const std::size_t n = std::min({tamanho, f->pedaco, f->texto.size() - f->lidos});
    std::copy_n(f->texto.data() + f->lidos, n, destino);
    f->lidos += n;
    return static_cast<long>(n);
  }

  std::string texto;
  std::size_t pedaco;
  bool falhaNoFim;
  std::size_t lidos = 0;
  int leituras = 0;
  FONTE fonte;
};

}  // namespace velha
