// Reading the programs' input: a source of bytes, read in blocks into a buffer of its own,
// and over it the readers of commands and of "%d"-style numbers. Every source gets its
// bytes one way, from a reader of blocks: the system's read call on a descriptor (the
// commands on standard input, reader's dictionary file), bytes held in memory (tests and
// fuzz targets), or a reader of the caller's (tests that make reads fail).
#pragma once

#include <cstddef>
#include <cstdio>

namespace velha {

inline constexpr int fimDaFonte = -1;  // what lerByte gives once no byte is left
inline constexpr std::size_t tamanhoDoBloco = 8192;

enum class estadoDaFonte { lendo, terminada, leituraFalhou, saidaFalhou };

// Fills destino with up to tamanho bytes from origem: how many, 0 at the end, -1 when the
// read failed (errno, or erroDoSistema, says why), as lerDoSistema does.
using LEITOR_DE_BLOCOS = long (*)(void* origem, unsigned char* destino, std::size_t tamanho);

// The readers the project offers. lerDoDescritor's origem is an int that holds the
// descriptor; lerDaMemoria's a MEMORIA, whose bytes it hands out and then ends.
long lerDoDescritor(void* descritor, unsigned char* destino, std::size_t tamanho);
struct MEMORIA {
  const unsigned char* bytes;
  std::size_t restantes;
};
long lerDaMemoria(void* memoria, unsigned char* destino, std::size_t tamanho);

// Read and changed only through the functions below.
struct FONTE {
  const unsigned char* proximo;  // the next byte not yet read
  const unsigned char* fim;      // one past the last byte at hand
  LEITOR_DE_BLOCOS lerBloco;
  void* origem;               // what lerBloco reads; must outlive the source
  std::FILE* saidaAEsvaziar;  // flushed before each block is read; may be nullptr
  estadoDaFonte estado;
  int erro;  // erroDoSistema of a failure
  unsigned char bloco[tamanhoDoBloco];
};

// A program driven through pipes must have written its reply before it waits for the next
// command, yet batch input must not pay a write per line. So a source flushes
// saidaAEsvaziar exactly when the bytes at hand are used up and it must ask the system for
// more, the only moment a read can block: input that is already there (a file, a pipe
// written in one go) is read a block at a time and output still leaves in large writes.
// Once that flush fails the source reads nothing more, since a program whose output is
// lost must not wait for input it can no longer answer.
void abrirFonte(FONTE* fonte, LEITOR_DE_BLOCOS lerBloco, void* origem, std::FILE* saidaAEsvaziar);

estadoDaFonte estadoDe(const FONTE& fonte);

// The reason for a failure (leituraFalhou or saidaFalhou), as erroDoSistema gave it.
int erroDe(const FONTE& fonte);

// The first byte of the next block, or fimDaFonte; lerByte's slow path.
int lerBlocoSeguinte(FONTE* fonte);

// The next byte as an unsigned char, or fimDaFonte at the end or after a failure.
inline int lerByte(FONTE* fonte) {
  return fonte->proximo != fonte->fim ? *fonte->proximo++ : lerBlocoSeguinte(fonte);
}

// Puts back c, the byte lerByte has just given, which is still in the block it came from.
inline void devolverByte(FONTE* fonte, int c) {
  if (c != fimDaFonte) --fonte->proximo;
}

inline int espiarByte(FONTE* fonte) {
  const int c = lerByte(fonte);
  devolverByte(fonte, c);
  return c;
}

// The bytes at hand and not yet read, [inicio, fim), left unread: what a reader that looks
// ahead (at a file's encoding) may inspect. Empty before the first read.
struct BYTES_A_MAO {
  const unsigned char* inicio;
  const unsigned char* fim;
};
inline BYTES_A_MAO bytesAMao(const FONTE& fonte) { return {fonte.proximo, fonte.fim}; }

// False once the source's output has failed, which is then its state; flushes nothing.
bool saidaIntacta(FONTE* fonte);

// Flushes the source's output, and says whether it is still intact.
bool esvaziarSaida(FONTE* fonte);

// White space as "%d" skips it in the C locale: space, \t, \n, \v, \f and \r.
constexpr bool espacoEmBranco(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Skips white space, as lerInteiro does before a number, and says how many line ends it
// passed (reader counts a dictionary's lines with it).
long long pularEspacos(FONTE* fonte);

// The next command byte. False at the end of input, and once the source's output has
// failed: a program whose replies are lost reads no further.
bool lerComando(FONTE* fonte, char* comando);

// Consumes up to and including the line end; false when input ends first.
bool descartarLinha(FONTE* fonte, char ultimoLido);

enum class leitura { lida, invalida, fimDaEntrada };

// Reads a decimal int as "%d" would (white space, line ends included, is skipped; an
// optional sign; digits up to the first non-digit, which is left unread) but refuses a
// number that does not fit in an int. On `invalida` the byte that made the text no number,
// or the number too large, is left unread: the reader stops where the verdict is known.
leitura lerInteiro(FONTE* fonte, int* valor);

// The number after a `j` command: lerInteiro, but on `invalida` the rest of the line is
// skipped up to, not including, its line end, which the command loop then reads.
leitura lerPosicao(FONTE* fonte, int* valor);

// Standard input as the command loops and their handlers read it, flushing standard
// output before each wait. Opened afresh when a program starts (iniciarPrograma).
void abrirEntradaDosComandos();
FONTE* entradaDosComandos();

}  // namespace velha
