// What playing each cell leads to for the side to move, with both sides perfect
// afterwards, from the search that plays; and the page's question about a position and
// its one-line answer ("Show why").
#pragma once

#include <cstddef>

#include "core/jogo.h"
#include "core/texto.h"
#include "search/placar.h"

namespace velha {

struct VEREDITOS {
  bool livre[totalDeCasas];         // a cell the side to move may play
  PREVISAO previsao[totalDeCasas];  // read as seeker reads its own score; free cells only
  JOGADA melhor;                    // the cell seeker's `b` plays, or semCandidato
};

// None free in a finished game. Each position's are searched once a run, then kept.
VEREDITOS vereditosDasCasas(JOGO j);

// The same, from a search made now (what vereditosDasCasas keeps).
VEREDITOS buscarVereditos(JOGO j);

// How the game goes on after the side to move plays casa, both sides then perfect: each
// move the one seeker's `b` plays for the side then to move, to the end of the game, so
// that it ends as casa's verdict says. Empty when casa ends the game or cannot be played.
struct CONTINUACAO {
  int quantidade;
  JOGADA jogadas[totalDeCasas - 1];
};
CONTINUACAO melhorContinuacao(JOGO j, JOGADA casa);

// The question is a line "CELLS SIDE": nine of '.', 'X', 'O' row by row, a space, and 'X'
// or 'O' to move. The answer repeats it and adds, per cell, "-" (taken), "e" (draw), "vK"
// (wins, K moves still to come after it) or "pK" (loses in K); then the best cell or "-";
// then the dictionary's rule: its cell, "n" where it names none, "-" without a dictionary;
// then, per cell, its best continuation as the cells played in turn, or "-" where it has
// none (a taken cell, or one that ends the game).
//   "OO.XX.... X" -> "OO.XX.... X - - v2 - - v0 p1 p1 p1 5 - - - 56 - - - 2 2 2"
inline constexpr std::size_t tamanhoDaPergunta = tamanhoDoJogoEmTexto;
// The question, then " vK" at most per cell, the best cell and the rule, each " C", the
// continuations, each " " and a cell per move, and '\0'.
inline constexpr std::size_t casaNaResposta = 3;
inline constexpr std::size_t escolhaNaResposta = 2;
inline constexpr std::size_t continuacaoNaResposta = 1 + (totalDeCasas - 1);
inline constexpr std::size_t tamanhoDaResposta = tamanhoDaPergunta + casaNaResposta * totalDeCasas +
                                                 2 * escolhaNaResposta +
                                                 continuacaoNaResposta * totalDeCasas + 1;

// Whether some game reaches the position, with either side first: the side to move has as
// many marks as the other or one fewer and no line of its own, and the other's lines, if
// any, all run through one cell, the move that made them.
bool algumJogoAlcanca(const JOGO& j);

// Writes the answer, ended by '\0', into resposta (tamanhoDaResposta bytes), or returns
// false for a line that is no question, or asks of a position no game reaches. comDicionario:
// whether the dictionary's table holds a loaded file.
bool responderAPergunta(const char* pergunta, std::size_t tamanho, bool comDicionario,
                        char* resposta);

// The console's line for --why, in the game's Portuguese: "Vereditos para S: C V, ...\n",
// for each free cell C of the side S to move its verdict V ("vence agora", "vence em K",
// "empate" or "perde em K"), then " [melhor]" on the cell seeker's `b` plays and
// " [dicionario]" on the cell the loaded dictionary's rule names, or, where the rule
// names a taken cell, " [dicionario: C ocupada]" after the last.
// Its longest: the start, each cell with the longest verdict and both tags, and the end.
inline constexpr std::size_t tamanhoDosVereditos =
    (sizeof "Vereditos para X:" - 1) +
    totalDeCasas * (sizeof ", C vence agora [melhor] [dicionario]" - 1) +
    (sizeof " [dicionario: C ocupada]" - 1) + sizeof "\n";

// Writes the line, ended by '\n' and '\0', into linha (tamanhoDosVereditos bytes); false,
// writing nothing, for a finished game.
bool escreverVereditos(const JOGO& j, bool comDicionario, char* linha);

}  // namespace velha
