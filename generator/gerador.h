// The dictionary generator: an exhaustive search that records, for every position in
// which the root's player is to move, the cell it chose; and the listing of the table
// as the lines of a dictionary file.
#pragma once

#include "dictionary/dicionario.h"
#include "search/minimax.h"

namespace velha {

// One less than the search player's base, so a win by the ninth mark (reachable only
// from the empty board) scores 0, like a draw. Rules written from the empty board differ
// from those of deeper roots exactly there; a later, deeper search overwrites them.
inline constexpr int baseDoGerador = 9;

// Same arguments and result as buscaMaxMin; every `min` level records its choice under
// its own position's key. A finished root has no candidate and records nothing.
JOGADA_VALOR gerarJogadas(JOGO j, opcao op, int nivelAtual);

// table[key of *j] = '0' + jog. Ignored for a cell outside 0..8 or a key beyond the
// table, which only a finished position can have.
void salvarEstadoRegra(JOGO* j, JOGADA jog);

// The `b` command: a search rooted at the side to move. The caller's game is not
// changed and its turn is not used.
void gerarJogadasAux(JOGO* j, jogador* jog);

// "key cell" for every entry that holds a rule, in ascending key order.
void imprimirJogadas();

// The `i` command.
void imprimirTodasJogadas();

}  // namespace velha
