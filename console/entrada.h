// Reading commands and cell numbers from a text stream. End of input and read errors
// are reported, never spun on; numbers are read without undefined behaviour. Also the
// rules every command loop follows about its output and its exit status.
#pragma once

#include <cstdio>

namespace velha {

inline constexpr int statusNormal = 0;
inline constexpr int statusDeFalha = 1;

// False at end of input.
bool lerComando(std::FILE* entrada, char* comando);

// Consumes up to and including the line end; false when input ends first.
bool descartarLinha(std::FILE* entrada, char ultimoLido);

enum class LEITURA { lida, invalida, fimDaEntrada };

// Reads a decimal int as "%d" would (white space, line ends included, is skipped; an
// optional sign; digits up to the first non-digit, which is left unread) but refuses a
// number that does not fit in an int. On `invalida` the rest of the line is discarded up
// to, not including, its line end.
LEITURA lerInteiro(std::FILE* entrada, int* valor);

// How a command loop reads its next command: not at all once saida has failed, since a
// program whose output is being lost must not go on acting on commands. False then, and
// at the end of input, as lerComando.
bool lerProximoComando(std::FILE* entrada, std::FILE* saida, char* comando);

// The exit status that ends a command loop (after `q`, at the end of input or after
// saida failed): saida is flushed, and output that was lost or input that could not be
// read makes it statusDeFalha.
int statusAoEncerrar(std::FILE* entrada, std::FILE* saida);

}  // namespace velha
