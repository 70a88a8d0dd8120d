// What every program does at its edges: its command line, its standard streams and how it
// ends. The texts here are in English, as the manual pages are; the game speaks Portuguese
// on standard output.
#pragma once

#include <optional>
#include <span>

namespace velha {

inline constexpr int statusNormal = 0;
inline constexpr int statusDeFalha = 1;
inline constexpr int statusDeUsoErrado = 2;

// One command of the command loop as --help lists it: its letter and argument, and what
// it does, on one line or more (the later ones indented under the first).
struct COMANDO {
  const char* forma;
  const char* oQueFaz;
};

// The commands every program takes alike; each program lists them with its own.
inline constexpr COMANDO comandoJogar{"j N",
                                      "play cell N (0 to 8, row by row) for the side to move"};
inline constexpr COMANDO comandoRecomecar{
    "r", "start a new, empty game; the side whose turn it was moves first"};
inline constexpr COMANDO comandoAjuda{"h", "print the command list"};
inline constexpr COMANDO comandoSair{"q", "quit"};

struct PROGRAMA {
  const char* nome;
  const char* uso;  // the --help text before the command list, every line ended
  std::span<const COMANDO> comandos;
  const char* depoisDosComandos;  // and after it
  // Prints what --help adds after the rest, when it has to be found out at run time.
  void (*depoisDoUso)() = nullptr;
};

// Puts the standard streams in binary mode, opens the command source afresh
// (entradaDosComandos), then reads the command line. Nothing when the
// program is to go on to its command loop; otherwise the exit status to end it with, once
// --help or --version has been answered on standard output or the arguments refused on
// standard error. A program that takes one operand (a file) passes where to put it, set
// to nullptr when none is given; an operand that begins with '-' is taken after "--". A
// program that offers --why (before any operand) passes where to say whether it was given.
std::optional<int> iniciarPrograma(int argc, char** argv, const PROGRAMA& programa,
                                   const char** operando = nullptr, bool* porQue = nullptr);

// The program as it was started (argv[0], as UTF-8 on Windows), once iniciarPrograma has
// read the command line; "" when the system gave none.
const char* comoFoiIniciado();

// One line on standard error, "name: what: reason", once standard output has been flushed
// so that the two arrive in order.
void explicar(const PROGRAMA& programa, const char* oQue, const char* motivo);

// explicar with the system's words for erro; 0 (no reason known) reads as an I/O error.
void explicarFalha(const PROGRAMA& programa, const char* oQue, int erro);

// The exit status that ends a command loop, after `q`, at the end of input or after
// standard output failed: standard output is flushed, and output that was lost or input
// that could not be read makes it statusDeFalha, with the reason on standard error.
int statusAoEncerrar(const PROGRAMA& programa);

}  // namespace velha
