// The game as text, the form the page and the helper exchange and the tests write boards
// in: nine of '.', 'X', 'O' for the cells row by row ("X..O....."), and a game is its
// cells, a space and the side to move ("X..O..... O").
#pragma once

#include <cstddef>

#include "core/jogo.h"

namespace velha {

inline constexpr std::size_t tamanhoDoJogoEmTexto = totalDeCasas + 2;  // the cells, " X"

char letraDoJogador(jogador jog);  // 'X' or 'O'

// The nine cells, then '\0': casas holds totalDeCasas + 1 bytes.
void escreverCasas(const JOGO& j, char* casas);

// How the game stands: '-' still being played, '=' drawn, or the winner's letter.
char letraDoFim(const JOGO& j);

// The cells read into a game with vez to move and the marks counted; false, leaving j
// as it was, when a byte is none of the three.
bool lerCasas(const char* casas, jogador vez, JOGO* j);

// A game's text of exactly tamanho bytes; false, leaving j as it was, for any other text.
bool lerJogoEmTexto(const char* texto, std::size_t tamanho, JOGO* j);

}  // namespace velha
