// Reading commands and cell numbers from a text stream. End of input and read errors
// are reported, never spun on; numbers are read without undefined behaviour.
#pragma once

#include <cstdio>

// False at end of input.
bool lerComando(std::FILE* entrada, char* comando);

// Consumes up to and including the line end; false when input ends first.
bool descartarLinha(std::FILE* entrada, char ultimoLido);

enum class LEITURA { lida, invalida, fimDaEntrada };

// Reads a decimal int as "%d" would (white space, line ends included, is skipped; an
// optional sign; digits up to the first non-digit, which is left unread) but refuses a
// number that does not fit in an int. On `invalida` the rest of the line is discarded up
// to, not including, its line end.
LEITURA lerPosicao(std::FILE* entrada, int* valor);
