// Reading commands and cell numbers from a text stream. End of input and read errors
// are reported, never spun on; numbers are read without undefined behaviour. Also the
// rules every command loop follows about its output and its exit status, and the stream
// over standard input that the loops read.
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

// Standard input as a command loop and its handlers read it (entradaDosComandos), from
// abrirEntradaDosComandos until encerrarEntradaDosComandos.
//
// A program driven through pipes must have written its reply before it waits for the next
// command, yet batch input must not pay a write per line. So this stream flushes the
// loop's output exactly when its buffer is empty and it must ask the operating system for
// more, the only moment a read can block. Input that is already there (a file, a pipe
// written in one go) is read a block at a time, so output still leaves in large writes;
// a terminal, whose output goes out line by line anyway, sees no change. Once that flush
// fails the stream reports the end of input: the loop stops, and its status says why.
std::FILE* abrirEntradaDosComandos(std::FILE* saida);

// How a loop that opened the stream ends: its status as statusAoEncerrar gives it, after
// which the stream is closed.
int encerrarEntradaDosComandos(std::FILE* entrada, std::FILE* saida);

// The stream of the loop that runs now: standard input itself outside a loop.
std::FILE* entradaDosComandos();

}  // namespace velha
