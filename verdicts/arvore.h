// The search explorer's question to the page's helper, and its one-line answer: a row of
// the tree of seeker's `b` from a position, with the moves tried under it
// (search/explorador.h).
#pragma once

#include <cstddef>

#include "core/linhas.h"
#include "core/texto.h"
#include "search/explorador.h"

namespace velha {

// The question: a game's text, " a", the order alpha-beta tries moves in ("" seeker's, "c"
// the centre, corners and edges, "m" the best first), then the cells of the moves played
// from it to the row ("......... X a" the position itself, "......... X a4" the row of X 4,
// "......... X am4" that row with the best first). The answer
// repeats it, then the row's score, the move its level chooses ("-": none), the moves the
// search plays from it and those alpha-beta plays; then, per move tried there in the
// search's order, " C:V:J:A:F": its cell, its score, the moves the search plays below it,
// those alpha-beta plays from it, and "c" where alpha-beta from the explored position
// never tries it, else "-".
//   "......... X a4" -> "......... X a4 0 0 55504 2458 0:0:6811:831:- 1:-3:7063:715:c ..."
inline constexpr std::size_t tamanhoDaPerguntaDaArvore = tamanhoDoJogoEmTexto + 3 + totalDeCasas;
// Each number fits in 11 characters with its sign: 12 with its separator.
inline constexpr std::size_t caracteresDeUmNumero = 12;
inline constexpr std::size_t tamanhoDaRespostaDaArvore =
    tamanhoDaPerguntaDaArvore + 4 * caracteresDeUmNumero +
    std::size_t{totalDeCasas} * (2 + 3 * caracteresDeUmNumero + 2) + 1;

// Writes the answer, ended by '\0', into resposta (tamanhoDaRespostaDaArvore bytes), or
// returns false for a line that is no such question: no game some play reaches, a cell
// that cannot be played in turn, or a move after the end.
bool responderAArvore(const char* pergunta, std::size_t tamanho, char* resposta);

// The step mode's question: a game's text with at most livresParaRastrear free cells, then
// " p" for the search's steps or " q" for alpha-beta's, followed by its order as above
// (" qc", " qm"). The answer repeats it, then per
// step " N:C:V" (the depth, the cell, its score) or " N:C:V:A:B:K" (and alfa, beta after
// it, "-" and "+" for their starting infinities, and "c" where the level stops there).
//   ".OX.XO.X. O p" -> ".OX.XO.X. O p 3:3:-7 3:8:0 2:6:0 ..."
inline constexpr std::size_t tamanhoDaPerguntaDoRastro = tamanhoDoJogoEmTexto + 3;
inline constexpr std::size_t tamanhoDaRespostaDoRastro =
    tamanhoDaPerguntaDoRastro + std::size_t{maximoDePassos} * (6 * caracteresDeUmNumero) + 1;
bool responderAoRastro(const char* pergunta, std::size_t tamanho, char* resposta);

}  // namespace velha
