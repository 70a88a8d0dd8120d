// Installing the programs and their data into a root, and removing them again, without
// ever touching a file the install did not write. POSIX only: each folder is checked once
// and then held open, so that every later step (a file written, a file removed) acts on the
// very folder that was checked, whatever another process renames meanwhile.
//
// What an install wrote is kept in a record, one file per install root in the build's
// records folder, named by the SHA-256 of the root's real path:
//
//   velha install record 2
//   root <N>                 then the root's real path: N bytes and a line end
//   <root>
//   file <SHA-256> <path>    a file the install wrote, with what it holds
//   writing <size> <SHA-256> <path>
//                            one it was about to write, with what it was to hold: an
//                            install that stopped half way (killed, a full disk) leaves it
//   folder <path>            a folder it created: "." the root, ".." the one that holds it
//   link <SHA-256> <path>    a folder on the way that was a link already, with the SHA-256
//                            of the real path it led to: the user's, followed while it
//                            leads there still, never removed
//   end
//
// Paths of entries are relative to the root, plain names joined by '/'. A record is written
// under another name and renamed into place, so it is whole or absent; an install and an
// uninstall hold the records folder's lock while they read and write one.
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
  std::string registros;  // the build's records folder, made when missing
  std::vector<ARQUIVO> arquivos;
  bool registrar = true;      // false for a package's staging root, where nothing is the user's
  bool sobrescrever = false;  // write over files the install did not write (the user asked)
};

// Installs every file of the pedido, refusing before anything is written where another user
// could change a folder on the way, or where a file is there that this project did not
// write. Says what it does on saida, why it stops on erros; true when all was installed.
bool instalar(const PEDIDO& pedido, std::FILE* saida, std::FILE* erros);

enum class desinstalacao { feita, semRegistro, algoFicou };

// Removes what the installs recorded in the records folder wrote: all of them, or, given a
// prefixo, the one there. Names each entry it keeps, and why, on erros.
desinstalacao desinstalar(const std::string& registros, const std::string* prefixo,
                          std::FILE* saida, std::FILE* erros);

}  // namespace velha::instalacao
