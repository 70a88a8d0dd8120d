// How the searches score a position, and how a score reads back as a verdict: the one
// place that holds the convention both searches and seeker's report share.
//
// Depth counts from the search's root: the root's own moves are at depth 1. A draw scores
// 0. A win made by the move at depth d scores base - d for the side that maximises and
// d - base for the side that minimises, so that each prefers the quicker win and the
// slower loss. The consoles search as `min`: for them a negative score is good.
//
// seeker's search counts on base 10, so that every win, even one made by the ninth mark,
// scores apart from a draw. scribe's rule-recording search counts on base 9, one less: a
// win by the ninth mark (which only a search from the empty board reaches) scores 0 there,
// like a draw, and the rules of the empty board differ from seeker's exactly there. The
// two searches thus give different scores for one root (-8 against -9 for a win at the
// first move), and choose the same cell everywhere but in those positions.
#pragma once

namespace velha {

enum opcao { max = 0, min = 1 };

inline constexpr int baseDaBusca = 10;
inline constexpr int baseDoGerador = baseDaBusca - 1;

// A win made by the move at depth nivel, on the given base, for the side op.
template <opcao op>
constexpr int valorDaVitoria(int base, int nivel) {
  return op == min ? nivel - base : base - nivel;
}

// A root that is already won has no move to score: for the `min` side it scores as the
// other side's win by a move at depth 1, the depth of the root's moves (base - 1), which
// seeker reports as lost now. A drawn root scores 0.
inline constexpr int valorDeJogoPerdido = baseDaBusca - 1;
static_assert(valorDaVitoria<max>(baseDaBusca, 1) == valorDeJogoPerdido);

// What a seeker score says of how the game ends, for the side to move.
enum class veredito { empate, ganhou, ganhara, perdeu, perdera };

struct PREVISAO {
  veredito fim;
  int fimEstimado;  // moves still to come after this one; 0 for empate, ganhou, perdeu
};

// A score of seeker's search (base 10, `min` side): the game is decided at depth
// base - |v|, so |v| = base - 1 is decided by this very move.
constexpr PREVISAO lerPlacar(int v) {
  if (v == 0) return {veredito::empate, 0};
  const int fimEstimado = baseDaBusca - 1 - (v < 0 ? -v : v);
  if (v < 0) return {fimEstimado == 0 ? veredito::ganhou : veredito::ganhara, fimEstimado};
  return {fimEstimado == 0 ? veredito::perdeu : veredito::perdera, fimEstimado};
}

}  // namespace velha
