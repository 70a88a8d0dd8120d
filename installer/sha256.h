// SHA-256, to tell by its bytes whether a file is the one an install wrote.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace velha::instalacao {

class SHA256 {
 public:
  SHA256();
  void acrescentar(const unsigned char* bytes, std::size_t tamanho);
  // The digest in lowercase hex, as sha256sum writes it; the object is spent after it.
  std::string hex();

 private:
  void bloco(const unsigned char* dados);
  std::array<std::uint32_t, 8> estado_;
  std::array<unsigned char, 64> pendente_{};
  std::size_t usados_ = 0;
  std::uint64_t total_ = 0;
};

std::string sha256(const std::string& texto);

}  // namespace velha::instalacao
