// What differs between the systems the programs run on, behind one set of calls: the
// command line, reading bytes, opening a file for reading, the mode of the standard
// streams, writing text that names paths, the system's reasons for a failure, and where
// the running program lives. One source file per system implements them, and the build
// picks the file; nothing else in the project asks which system it runs on.
//
// Paths and arguments are bytes, as the system gives them on POSIX; on Windows they are
// taken and given with the system's wide-character calls and held as UTF-8 in between,
// so that any name works whatever the system's code page.
#pragma once

#include <cstddef>
#include <cstdio>
#include <span>

namespace velha {

// The program's arguments as the system holds them: argv unchanged on POSIX; on Windows
// the wide-character command line, as UTF-8 (argc is then set again).
char** argumentosDoPrograma(int* argc, char** argv);

// Reads up to tamanho bytes from the descriptor into destino: how many were read, 0 at
// the end of the input, -1 when the read failed (erroDoSistema says why). A read that a
// signal interrupts, or one from a descriptor made non-blocking that has nothing yet,
// waits for its bytes as a blocking read does.
long lerDoSistema(int descritor, unsigned char* destino, std::size_t tamanho);

// A descriptor that reads the file's bytes unchanged, or -1 (erroDoSistema says why).
int abrirParaLer(const char* caminho);

// The same, opened without waiting for what is not a file to be ready (a FIFO with no
// writer), so that the caller can look at it first (eArquivoComum); reads still wait.
int abrirSemEsperar(const char* caminho);

// Why the last call to the system or the C library failed, as the system says it: errno
// on POSIX; on Windows the system's own error where the C library kept it (its errno
// reads many of them as "Invalid argument"), else errno. A read of the caller's may set
// errno alone.
int erroDoSistema();

// The system's words for erro, which erroDoSistema gave, on one line.
const char* descreverErro(int erro);

// Whether erro says that no file has the name asked for.
bool faltaOArquivo(int erro);

// Writes texto to fluxo: its bytes unchanged, or, on a Windows console, its characters
// (texto being UTF-8), so that a path shows as the console shows other text.
void escreverTexto(std::FILE* fluxo, const char* texto);

void fecharDescritor(int descritor);

// Standard input, output and error carry bytes unchanged from here on: no line end is
// translated and no byte ends the input early, as Windows' text mode would do.
void usarFluxosBinarios();

// The folder that holds the running program, ended by its separator, as a string of at
// most tamanho bytes: false when it cannot be found or does not fit.
bool pastaDoPrograma(char* destino, std::size_t tamanho);

// A shell that people paste commands into on this system: its name, as a hint gives it
// ("" on a system with one), what a line starts with to run a program named by a quoted
// path, and its quoting of one word: citar writes texto as one word that the shell reads
// back as texto, on one line, and is false when texto holds what cannot be pasted so (a
// character that mostraOQueE refuses, or one this shell cannot quote) or the result does
// not fit in tamanho bytes.
struct SHELL {
  const char* nome;
  const char* executar;
  bool (*citar)(const char* texto, char* destino, std::size_t tamanho);
};

// The shells of this system, the one people most likely use first: POSIX, the shell;
// Windows, PowerShell and then cmd.exe.
std::span<const SHELL> shellsDoSistema();

// Whether texto shows as what it is, so that what a person reads is what runs: valid
// UTF-8 without control characters, bidirectional controls or characters that show as
// nothing.
bool mostraOQueE(const char* texto);

// Whether the path names a folder, not only a file's name (which a shell looks up on PATH).
bool temPasta(const char* caminho);

// Whether the descriptor reads a regular file (not a folder, a device or a pipe).
bool eArquivoComum(int descritor);

}  // namespace velha
