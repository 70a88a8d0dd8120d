// What the search explorer shows: the tree of seeker's `b` from a position (the explored
// one), a row for each move the search tries, in its order. Under the row reached by the
// moves caminho, each move tried there comes with the score the search gives it, how many
// moves the search plays below it, how many an alpha-beta search would play from the
// position it makes, and whether alpha-beta, started at the explored position, never
// tries it. Alpha-beta is a teaching figure only: `b` keeps the exhaustive search.
#pragma once

#include "core/jogo.h"
#include "search/placar.h"

namespace velha {

// The order in which alpha-beta tries a level's moves, for the figure beside the search's
// own: seeker's (cells 0 to 8, as `b` tries them), the centre, then the corners, then the
// edges, or the best first (each move's exact score for the side to move, ties by cell).
// The exhaustive search's figures never depend on it.
enum class ordem { seeker, centro, melhor };

struct RAMO {
  JOGADA jogada;
  int valor;               // the score the search from the explored position gives it
  long abaixo;             // moves the search plays after this one
  long abaixoComAlfaBeta;  // moves alpha-beta (in the order asked) plays from the position it makes
  bool cortadoPelaAlfaBeta;  // alpha-beta from the explored position never tries it
};

struct EXPLORACAO {
  // The row itself: its score (the search's for the position, at its depth), the move its
  // level chooses (ties: the first; semCandidato in a finished game), and the moves the
  // search and alpha-beta play from it.
  int valor;
  JOGADA escolhida;
  long jogadas;
  long jogadasComAlfaBeta;
  int quantidade;
  RAMO ramos[totalDeCasas];
};

// The row reached from raiz by the quantidade moves of caminho, which must be playable
// one after the other (the caller checks), with alpha-beta's figures in the order asked.
EXPLORACAO explorar(const JOGO& raiz, const JOGADA* caminho, int quantidade,
                    ordem ordemDaAlfaBeta = ordem::seeker);

// One step of a search watched as it goes: a candidate scored at depth nivel (the
// explored position's own moves at depth 1), once every move below it has been; for
// alpha-beta, with its level's alfa and beta after it, and whether the level stops there.
struct PASSO {
  int nivel;
  JOGADA jogada;
  int valor;
  int alfa;
  int beta;
  bool corta;
};

// A search is watched step by step from positions with at most this many free cells: 325
// steps at most, 5 + 5·4 + 5·4·3 + 5·4·3·2 + 5·4·3·2·1, one for each move it plays.
inline constexpr int livresParaRastrear = 5;
inline constexpr int maximoDePassos = [] {
  int passos = 0;
  int caminhos = 1;
  for (int livres = livresParaRastrear; livres > 0; --livres) passos += caminhos *= livres;
  return passos;
}();

// The exhaustive search from raiz as seeker's `b` runs it, and alpha-beta from raiz, step
// by step, into passos: how many steps they took. raiz has at most livresParaRastrear free
// cells (the caller checks).
static_assert(maximoDePassos == 325);
int rastrearBusca(const JOGO& raiz, PASSO (&passos)[maximoDePassos]);
int rastrearAlfaBeta(const JOGO& raiz, PASSO (&passos)[maximoDePassos],
                     ordem ordemDaAlfaBeta = ordem::seeker);

// Alpha-beta from j, for the side op at the caller's depth nivel: the same scores as the
// exhaustive search, its candidates in the order asked (seeker's by default), a level
// giving up its remaining candidates once alfa >= beta (alfa: the best score the max side
// is sure of on the path, beta the min side's). Its score; *jogadas counts the moves it
// plays.
int alfaBeta(const JOGO& j, opcao op, int nivel, int alfa, int beta, long* jogadas,
             ordem ordemDaAlfaBeta = ordem::seeker);

}  // namespace velha
