// The install record: its text, written and read in one place, and where it is kept.
//
// The record of an install lies in the root it describes, at registroNaRaiz, reached
// through folders held to the same rules as every other the install touches, and it is
// refused unless only its user (or root) could have written it:
//
//   velha install record 3
//   root <N>                 then the root's real path: N bytes and a line end
//   <root>
//   file <SHA-256> <path>    a file the install wrote, with what it holds
//   writing <size> <SHA-256> <device> <inode> <path>
//                            one it was about to write, with what it was to hold, and the
//                            device and inode of its provisional copy once made (0 0 before):
//                            an install that stopped half way (killed, a full disk) leaves it
//   folder <path>            a folder it made, reached from the root the way it was made:
//                            "." the root, ".." the one that holds it, and so on up
//   link <SHA-256> <path>    a folder on the way that was a link already, with the SHA-256
//                            of the real path it led to: the user's, followed while it
//                            leads there still, never removed
//   end
//
// Paths of entries are relative to the root, plain names joined by '/'. A record is written
// under another name and renamed into place, so it is whole or absent.
#pragma once

#include <string>
#include <vector>

namespace velha::instalacao {

// Where below the root the record lies, beside the data.
inline constexpr char pastaDoRegistro[] = "share/velha";
inline constexpr char nomeDoRegistro[] = "install-record";

enum class tipoDeEntrada { arquivo, escrevendo, pasta, link };

struct ENTRADA {
  tipoDeEntrada tipo;
  std::string caminho;
  std::string hash{};                  // not for a folder
  unsigned long long tamanho = 0;      // only while writing
  unsigned long long dispositivo = 0;  // only while writing: the provisional copy's
  unsigned long long inode = 0;
  bool operator==(const ENTRADA&) const = default;
};

struct REGISTRO {
  std::string raiz;
  std::vector<ENTRADA> entradas;
};

std::string textoDoRegistro(const REGISTRO& registro);

// Reads texto into registro: "" when it is a whole record, else why it is none.
std::string lerRegistro(const std::string& texto, REGISTRO* registro);

// Whether texto could be a record cut short (a provisional one a killed write left): empty,
// or the start of a record.
bool pareceRegistro(const std::string& texto);

// Whether caminho is one of the project's own relative paths: plain names joined by '/',
// none of them "." or "..", or, for a folder, "." and "..", "../.." and so on up.
bool caminhoProprio(const std::string& caminho, tipoDeEntrada tipo);

// The build's list of the roots it installed into, so that its uninstall target finds their
// records: it grants nothing, as each record is checked where it lies.
std::string textoDasRaizes(const std::vector<std::string>& raizes);
std::vector<std::string> lerRaizes(const std::string& texto);

}  // namespace velha::instalacao
