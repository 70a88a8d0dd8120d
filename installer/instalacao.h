// Installing the programs and their data into a root, and removing them again, without
// ever touching a file the install did not write. POSIX only: each folder is checked once
// and then held open, so that every later step (a file written, a file removed) acts on the
// very folder that was checked, whatever another process renames meanwhile.
//
// What an install wrote is kept in a record in the root itself (registro.h), and the build
// lists the roots it installed into, for its uninstall target (registros.h).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace velha::instalacao {

// One file an install writes: what it is copied from, where it goes below the root (plain
// names), and its mode (0644, or 0755 for a program).
struct ARQUIVO {
  std::string origem;
  std::string destino;
  unsigned modo;
};

struct PEDIDO {
  std::string raiz;       // DESTDIR followed by the prefix, as the install would write to it
  std::string registros;  // the build's records folder (its list of roots), made when missing
  std::vector<ARQUIVO> arquivos;
  bool registrar = true;      // false for a package's staging root, where nothing is the user's
  bool sobrescrever = false;  // write over files the install did not write (the user asked)
};

// Installs every file of the pedido, refusing before anything is written where another user
// could change a folder on the way, or where a file is there that this project did not
// write. Says what it does on saida, why it stops on erros; true when all was installed.
bool instalar(const PEDIDO& pedido, std::FILE* saida, std::FILE* erros);

enum class desinstalacao { feita, nada, algoFicou };

// Removes what the installs the records folder lists wrote: all of them, or, given a
// prefixo, the one there. Names each entry it keeps, and why, on erros; nada when there
// was nothing to uninstall.
desinstalacao desinstalar(const std::string& registros, const std::string* prefixo,
                          std::FILE* saida, std::FILE* erros);

}  // namespace velha::instalacao
