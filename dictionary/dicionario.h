// The move dictionary: the position key, the table of rules it indexes, and the file that
// holds a table, one rule a line, "key cell", written and read here side by side.
// A rule is the character '0'..'8' of the cell the player to move should take.
#pragma once

#include <array>
#include <cstdio>

#include "core/jogo.h"
#include "input/entrada.h"

namespace velha {

inline constexpr int tamanhoDoDicionario = 19683;  // 3^9
inline constexpr char semRegra = '9';

// One table per program, alive for the whole run; written only through this header.
extern char tabelaDeRegras[tamanhoDoDicionario];

// Every entry becomes semRegra.
void inicializarRegras();

// How many entries hold a rule.
int regrasGravadas();

constexpr bool chaveNoDicionario(int chave) { return chave >= 0 && chave < tamanhoDoDicionario; }

// Stores regra for chave, which must be a key of the table: the rule-recording search
// calls it at every node, so it checks nothing.
inline void gravarRegra(int chave, char regra) { tabelaDeRegras[chave] = regra; }

// A rule is the digit of its cell: the character that records casa, and the cell that a
// rule names. Any byte read from a file is a rule, read as a signed char whatever the
// platform's plain char, so that one that is no digit names the same cell everywhere
// (0xC8 is -104, as on x86), and no move accepts it.
constexpr char regraDaCasa(int casa) { return static_cast<char>('0' + casa); }
constexpr int casaDaRegra(char regra) { return static_cast<signed char>(regra) - '0'; }

// The rule of chave, or semRegra for a key beyond the table.
inline char regraDe(int chave) {
  return chaveNoDicionario(chave) ? tabelaDeRegras[chave] : semRegra;
}

// The board seen from the player to move (its marks -1, the opponent's +1), one value
// per row with an offset of 14, not 13, and 1 subtracted at the end. Stored dictionaries
// depend on this exact formula: unfinished positions fall within 756..19682, and only a
// finished game can have a key beyond the table.
//
// Spelt out, with s the sign of the player to move and r the rows' weighted cells:
//   (14 + s r0) + 27 (14 + s r1) + 729 (14 + s r2) - 1
//     = 14 (1 + 27 + 729) - 1 + s (r0 + 27 r1 + 729 r2),
// the empty board's key plus s times one weighted sum of the nine cells, which the
// rule-recording search computes at every node it records.
inline constexpr int deslocamentoDaFileira = 14;
inline constexpr int valoresPorCasa = 3;  // a base-3 digit per cell
inline constexpr int pesoDaPrimeiraColuna = valoresPorCasa * valoresPorCasa;
inline constexpr int pesoDaFileira = pesoDaPrimeiraColuna * valoresPorCasa;
inline constexpr int chaveDoTabuleiroVazio =
    deslocamentoDaFileira * (1 + pesoDaFileira + pesoDaFileira * pesoDaFileira) - 1;
static_assert(chaveDoTabuleiroVazio == 10597);

// Cell c of row r and column k weighs 27^r 3^(2-k): 9, 3, 1 along a row.
inline constexpr std::array<int, totalDeCasas> pesosNaChave = [] {
  std::array<int, totalDeCasas> pesos{};
  for (int casa = 0, pesoDestaFileira = 1; casa < totalDeCasas; pesoDestaFileira *= pesoDaFileira) {
    for (int pesoNaFileira = pesoDaPrimeiraColuna; pesoNaFileira >= 1;
         pesoNaFileira /= valoresPorCasa) {
      pesos[casa++] = pesoDestaFileira * pesoNaFileira;
    }
  }
  return pesos;
}();

// The position's key in the dictionary, by the formula above.
constexpr int indiceDeUmDadoTabuleiro(JOGO* j) {
  int soma = 0;
  for (int casa = 0; casa < totalDeCasas; ++casa) soma += pesosNaChave[casa] * j->A[casa];
  return chaveDoTabuleiroVazio + (j->jogadorAtual == j1 ? soma : -soma);
}

// The file, written: every rule of the table as a line "key cell", in ascending key order.
void imprimirDicionario(std::FILE* saida);

// The file, read back.
enum class carga { carregada, invalida, ilegivel };

// The encoding an invalid file is in, when a Windows editor wrote it in another than plain
// bytes, as its byte-order mark says or, for UTF-16 without one, its zero bytes: a reason
// a person can act on.
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
