// Where records are kept, and the walks that both the install and the uninstall take from a
// root: each record in its own root (registro.h says where and in what form), held to the
// rules of every folder on the way, and the build's list of the roots it installed into.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "installer/pastas.h"
#include "installer/registro.h"

namespace velha::instalacao {

std::string pastaDe(const std::string& caminho);
std::string nomeDe(const std::string& caminho);
// relativo below raiz, as one path.
std::string abaixo(const std::string& raiz, const std::string& relativo);
// The relative path of onde, a real path below raiz.
std::optional<std::string> relativoA(const std::string& raiz, const std::string& onde);

// A trail that starts at the root's folder, for the walks below it.
TRILHA aPartirDe(const PASTA& raiz);

// Walks relativo down from the trail (which starts at the root of registro): a link is
// followed only where the record names it, and only while it leads where it led then.
void descerPelosLinksDoRegistro(TRILHA* trilha, const std::string& relativo, const GUARDA& guarda,
                                const REGISTRO& registro);

// Walks relativo down from the trail (which starts at raizReal), following every link the
// rules let it follow; each one met is added to links as the record names it.
void descerAnotandoLinks(TRILHA* trilha, const std::string& relativo, const GUARDA& guarda,
                         const std::string& raizReal, std::vector<ENTRADA>* links);

// The record in the held folder pasta (at caminho). Refused (RECUSA) where it is not a
// regular file only its user or root could have written, or is no whole record of raiz.
std::optional<REGISTRO> lerRegistroEm(const PASTA& pasta, const std::string& raiz,
                                      const GUARDA& guarda);

// Writes the record whole under a provisional name in pasta and renames it into place.
// A provisional record a killed write left is replaced; anything else at that name refuses.
void gravarRegistroEm(const PASTA& pasta, const REGISTRO& registro);

// Removes the record from pasta, with a provisional one a killed write left: 0, or errno.
int removerRegistroDe(const PASTA& pasta);

// The build's records folder, held, with its lock: installs and uninstalls take turns.
class REGISTROS {
 public:
  // Holds the folder (made if criar), and waits for its lock; nullopt, with motivo, if not.
  static std::optional<REGISTROS> abrir(const std::string& caminho, bool criar,
                                        std::string* motivo);
  const std::string& caminho() const { return caminho_; }
  std::vector<std::string> raizes() const;
  // Adds raiz to the list, or takes it off; false (with motivo) where it cannot be written.
  bool anotar(const std::string& raiz, bool instalada, std::string* motivo) const;
  // Records an earlier version kept in this folder, which are no longer read.
  std::vector<std::string> antigos() const;

 private:
  REGISTROS(DESCRITOR pasta, std::string caminho)
      : pasta_(std::move(pasta)), caminho_(std::move(caminho)) {}
  DESCRITOR pasta_;
  DESCRITOR cadeado_;
  std::string caminho_;
};

}  // namespace velha::instalacao
