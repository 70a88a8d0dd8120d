#include "installer/sha256.h"

#include <cstring>

namespace velha::instalacao {
namespace {

constexpr std::array<std::uint32_t, 64> constantes{
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t girar(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

}  // namespace

SHA256::SHA256()
    : estado_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
              0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {}

void SHA256::bloco(const unsigned char* dados) {
  std::array<std::uint32_t, 64> w{};
  for (std::size_t i = 0; i < 16; ++i) {
    const unsigned char* palavra = dados + 4 * i;
    w[i] = std::uint32_t{palavra[0]} << 24 | std::uint32_t{palavra[1]} << 16 |
           std::uint32_t{palavra[2]} << 8 | std::uint32_t{palavra[3]};
  }
  for (int i = 16; i < 64; ++i) {
    const std::uint32_t s0 = girar(w[i - 15], 7) ^ girar(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const std::uint32_t s1 = girar(w[i - 2], 17) ^ girar(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  auto [a, b, c, d, e, f, g, h] = estado_;
  for (int i = 0; i < 64; ++i) {
    const std::uint32_t t1 = h + (girar(e, 6) ^ girar(e, 11) ^ girar(e, 25)) +
                             ((e & f) ^ (~e & g)) + constantes[i] + w[i];
    const std::uint32_t t2 =
        (girar(a, 2) ^ girar(a, 13) ^ girar(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  const std::array<std::uint32_t, 8> somar{a, b, c, d, e, f, g, h};
  for (int i = 0; i < 8; ++i) estado_[i] += somar[i];
}

void SHA256::acrescentar(const unsigned char* bytes, std::size_t tamanho) {
  total_ += tamanho;
  while (tamanho > 0) {
    const std::size_t cabem = std::min(tamanho, pendente_.size() - usados_);
    std::memcpy(pendente_.data() + usados_, bytes, cabem);
    usados_ += cabem;
    bytes += cabem;
    tamanho -= cabem;
    if (usados_ == pendente_.size()) {
      bloco(pendente_.data());
      usados_ = 0;
    }
  }
}

std::string SHA256::hex() {
  const std::uint64_t bits = total_ * 8;
  const unsigned char um = 0x80;
  acrescentar(&um, 1);
  const unsigned char zero = 0;
  while (usados_ != 56) acrescentar(&zero, 1);
  std::array<unsigned char, 8> comprimento{};
  for (int i = 0; i < 8; ++i) comprimento[i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
  acrescentar(comprimento.data(), comprimento.size());
  std::string texto;
  constexpr char digitos[] = "0123456789abcdef";
  for (const std::uint32_t palavra : estado_) {
    for (int deslocamento = 28; deslocamento >= 0; deslocamento -= 4) {
      texto += digitos[(palavra >> deslocamento) & 0xf];
    }
  }
  return texto;
}

std::string sha256(const std::string& texto) {
  SHA256 soma;
  soma.acrescentar(reinterpret_cast<const unsigned char*>(texto.data()), texto.size());
  return soma.hex();
}

}  // namespace velha::instalacao
