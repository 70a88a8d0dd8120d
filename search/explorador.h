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

struct RAMO {
  JOGADA jogada;
  int valor;                 // the score the search from the explored position gives it
  long abaixo;               // moves the search plays after this one
  long abaixoComAlfaBeta;    // moves alpha-beta plays from the position it makes
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
// one after the other (the caller checks).
EXPLORACAO explorar(const JOGO& raiz, const JOGADA* caminho, int quantidade);

// Alpha-beta from j, for the side op at the caller's depth nivel: the same scores and the
// same candidate order as the exhaustive search, a level giving up its remaining
// candidates once alfa >= beta (alfa: the best score the max side is sure of on the path,
// beta the min side's). Its score; *jogadas counts the moves it plays.
int alfaBeta(const JOGO& j, opcao op, int nivel, int alfa, int beta, long* jogadas);

}  // namespace velha
