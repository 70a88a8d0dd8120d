// The install record's text (its form is in instalacao.h), written and read in one place.
#pragma once

#include <string>
#include <vector>

namespace velha::instalacao {

enum class tipoDeEntrada { arquivo, escrevendo, pasta, link };

struct ENTRADA {
  tipoDeEntrada tipo;
  std::string caminho;
  std::string hash;                // not for a folder
  unsigned long long tamanho = 0;  // only while writing
  bool operator==(const ENTRADA&) const = default;
};

struct REGISTRO {
  std::string raiz;
  std::vector<ENTRADA> entradas;
};

std::string textoDoRegistro(const REGISTRO& registro);

// Reads texto into registro: "" when it is a whole record, else why it is none.
std::string lerRegistro(const std::string& texto, REGISTRO* registro);

// Whether caminho is one of the project's own relative paths: plain names joined by '/',
// none of them "." or "..", or, for a folder, "." and "..", "../.." and so on up.
bool caminhoProprio(const std::string& caminho, tipoDeEntrada tipo);

}  // namespace velha::instalacao
