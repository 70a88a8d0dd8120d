// What a program tells the page that shows its game beside the console, in the web build:
// the calls are made only where there is a page, and do nothing on the other systems. One
// source file per system implements them with the rest of platform/sistema.h.
#pragma once

namespace velha {

// Whether a page shows the game beside the console: only in the web build, and not under
// node. The two calls below are made only where there is one, so that what is worked out
// for it alone is skipped elsewhere.
bool haUmaPagina();

// The game as it stands: its nine cells, row by row ('X', 'O' or '.'), the side to move
// ('X' or 'O'), how it ended ('X' or 'O' won, '=' a draw, '-' not over) and the cell the
// last command played (-1: none), so that the page never works out a move by comparing
// boards. What the program wrote before comes first.
void mostrarOJogo(const char* casas, char vez, char fim, int jogada);

// How many rules scribe has recorded so far.
void mostrarAsRegras(int quantas);

}  // namespace velha
