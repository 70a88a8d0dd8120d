// What every program does at its edges: its command line, its standard streams and how it
// ends. The texts here are in English, as the manual pages are; the game speaks Portuguese
// on standard output.
#pragma once

#include <optional>

namespace velha {

inline constexpr int statusNormal = 0;
inline constexpr int statusDeFalha = 1;
inline constexpr int statusDeUsoErrado = 2;

struct PROGRAMA {
  const char* nome;
  const char* uso;  // the --help text, every line ended
  // Prints what --help adds after uso, when it has to be found out at run time.
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
