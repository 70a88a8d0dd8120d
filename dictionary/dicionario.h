// The move dictionary: the position key, the table of rules it indexes, and the file that
// holds a table, one rule a line, "key cell", written and read here side by side.
// A rule is the character '0'..'8' of the cell the player to move should take.
#pragma once

#include <cstdio>

#include "core/jogo.h"
#include "input/entrada.h"

namespace velha {

inline constexpr int tamanhoDoDicionario = 19683;  // 3^9
inline constexpr char semRegra = '9';

// One table per program, alive for the whole run; written only through this header.
extern char jogadas[tamanhoDoDicionario];

// Every entry becomes semRegra.
void inicializarJogadas();

constexpr bool chaveNoDicionario(int chave) { return chave >= 0 && chave < tamanhoDoDicionario; }

// Stores regra for chave, which must be a key of the table: the rule-recording search
// calls it at every node, so it checks nothing.
inline void gravarRegra(int chave, char regra) { jogadas[chave] = regra; }

// The rule of chave, or semRegra for a key beyond the table.
inline char regraDe(int chave) { return chaveNoDicionario(chave) ? jogadas[chave] : semRegra; }

// The board seen from the player to move (its marks -1, the opponent's +1), one value
// per row with an offset of 14, not 13, and 1 subtracted at the end. Stored dictionaries
// depend on this exact formula: unfinished positions fall within 756..19682, and only a
// finished game can have a key beyond the table.
constexpr int indiceDeUmDadoTabuleiro(JOGO* j) {
  constexpr int colunas = 3;
  constexpr int deslocamentoDaLinha = 14;
  constexpr int basePorLinha = 27;
  const int sinal = j->jogadorAtual == j1 ? 1 : -1;
  int valor[colunas];
  for (int linha = 0; linha < colunas; ++linha) {
    const int primeira = colunas * linha;
    valor[linha] = sinal * (9 * j->A[primeira] + 3 * j->A[primeira + 1] + j->A[primeira + 2]) +
                   deslocamentoDaLinha;
  }
  return (valor[2] * basePorLinha + valor[1]) * basePorLinha + valor[0] - 1;
}

// The file, written: every rule of the table as a line "key cell", in ascending key order.
void imprimirDicionario(std::FILE* saida);

// The file, read back.
enum class carga { carregada, invalida, ilegivel };

// What an invalid file begins with, when it is a mark a Windows editor writes before text
// in another encoding than plain bytes: a reason a person can act on.
enum class marcaDeCodificacao { nenhuma, utf8, utf16 };

struct CARGA_DO_DICIONARIO {
  carga resultado;
  long long linhaInvalida;                                 // 1-based; meaningful only when invalida
  int erro;                                                // erroDoSistema; only when ilegivel
  marcaDeCodificacao marca = marcaDeCodificacao::nenhuma;  // only when invalida
};

// Empties the table, then reads "key rule" pairs to the end of the source as "%d %c"
// would: any white space (line ends included) may come before the key and between the key
// and its rule, which is the next character that is not white space, stored as read. Each
// rule goes to the table entry of its key, a later pair overriding an earlier one. Stops at
// the first byte that makes the text no dictionary (text where a key should be, a key
// outside the table, a key without a rule) and reports the line on which that key or text
// begins. A read error makes the source ilegivel, whatever was read before it, since what
// follows it is unknown. Prints nothing.
CARGA_DO_DICIONARIO carregarDicionario(FONTE* fonte);

}  // namespace velha
