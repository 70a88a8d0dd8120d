// The dictionary player's side of the move dictionary: loading a file by its name, saying
// why it was not loaded, and looking the current position up.
#pragma once

#include <cstddef>

#include "core/jogo.h"
#include "dictionary/dicionario.h"

namespace velha {

// Where the complete dictionary lies from the programs' folder, installed or in the build
// tree, whose layout is the same; set by the build (cmake/install_layout.cmake).
inline constexpr char dicionarioDosProgramas[] = VELHA_DICIONARIO_DOS_PROGRAMAS;

// The name of a dictionary file, which reader loads from the working directory when given
// none: the complete dictionary's.
inline constexpr const char* nomeDoDicionario = [] {
  const char* nome = dicionarioDosProgramas;
  for (const char* c = dicionarioDosProgramas; *c != '\0'; ++c) {
    if (*c == '/') nome = c + 1;
  }
  return nome;
}();

// The cell a lookup without a rule names; no move accepts it.
inline constexpr JOGADA jogadaSemRegra = -1;

// The erro of a load refused because the file is not a regular one (no system error).
inline constexpr int naoEArquivoComum = -1;

// Loads the file at caminho into the table (carregarDicionario), saying nothing: why it was
// not loaded is the caller's to say. With soArquivoComum (a file looked for by its usual
// name, not one a person named) anything but a regular file is refused at once, unread:
// a FIFO with no writer would otherwise wait for one for ever.
CARGA_DO_DICIONARIO carregarArquivo(const char* caminho, bool soArquivoComum);

// Loads the file at caminho into the table, as carregarArquivo. When it cannot be opened or
// read through, or is not valid, says so on standard output, naming caminho, and returns why;
// the caller ends the program.
CARGA_DO_DICIONARIO leDicionario(const char* caminho, bool soArquivoComum);

// Room enough for a path, such as acharDicionarioCompleto writes.
inline constexpr std::size_t tamanhoDeUmCaminho = 4096;

// The complete dictionary that came with the running program, as a path into caminho (at
// most tamanho bytes): the one in the data folder beside the programs' (share/velha/ next
// to bin/ or games/, or the programs' own folder in the Windows ZIP), where an
// installation and a build tree both keep it. False when there is no regular file there
// that opens, or the program's folder cannot be known.
bool acharDicionarioCompleto(char* caminho, std::size_t tamanho);

// pasta, ended by its separator, followed by relativo, whose "../" each take a folder off
// pasta and whose '/' become pasta's separator: a path as the system writes it, in at most
// tamanho bytes. False when it would go above the root or does not fit.
bool juntarCaminho(const char* pasta, const char* relativo, char* caminho, std::size_t tamanho);

// The dictionary's move for the position (reader's b): the cell in j and the key in v. Without a
// rule (or for a finished game whose key lies beyond the table) prints why and returns
// jogadaSemRegra, with the key.
JOGADA_VALOR jogarDic(JOGO* j);

}  // namespace velha
