// Runs a program's own main, compiled into a fuzz target under another name, on each
// fuzz input as its standard input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace velha {

// Once per process: standard output goes to /dev/null, and a temporary folder, removed at
// normal exit, is made to hold each session's input and the files the program reads.
void prepararSessoes();

// Creates a file, by name, in that folder (a program opens its files relative to the
// working directory, which is that folder while a session runs).
std::FILE* criarNaPasta(const char* nome);

// Makes the bytes the whole of standard input and runs principal in that folder, then
// returns to the previous working directory: the fuzzer's own relative paths stay valid
// except while principal runs, so a crash's artifact needs an absolute -artifact_prefix.
// Nothing can fail here, neither input nor output, so a status other than 0 aborts.
void executarSessao(const std::uint8_t* dados, std::size_t tamanho,
                    int (*principal)(int argc, char** argv));

}  // namespace velha
