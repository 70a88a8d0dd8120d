// The tests' own minimax, to check the search against: plain, memorised, no trick.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "core/jogo.h"
#include "dictionary/dicionario.h"
#include "search/placar.h"
#include "tests/arvore.h"

namespace velha {

// Each root candidate's score, by the plain recursion of minimax over the core's own
// rules, memorised by position and depth: a move at depth nivel that ends the game scores
// a draw or its mover's win, any other the best of the replies for the side that answers.
class MinimaxDeReferencia {
 public:
  int nota(const JOGO& j, JOGADA casa, opcao op, int nivel) {
    JOGO filho = j;
    inserirJogada(&filho, casa, filho.jogadorAtual);
    jogador vitorioso = empate;
    if (fimDeJogo(filho, &vitorioso)) {
      if (vitorioso == empate) return 0;
      return op == min ? nivel - baseDaBusca : baseDaBusca - nivel;
    }
    const auto [lembrada, nova] = melhores.try_emplace({indiceDeUmDadoTabuleiro(&filho), nivel}, 0);
    if (nova) {
      const opcao oOutro = op == min ? max : min;
      const LISTA_DE_JOGADAS lista = listaDeJogadas(&filho);
      int melhor = oOutro == min ? 1000 : -1000;
      for (int i = 1; i <= lista.jogadas[0]; ++i) {
        const int v = nota(filho, lista.jogadas[i], oOutro, nivel + 1);
        melhor = oOutro == min ? std::min(melhor, v) : std::max(melhor, v);
      }
      lembrada->second = melhor;
    }
    return lembrada->second;
  }

 private:
  std::map<std::pair<int, int>, int> melhores;
};

// Calls visitar once for each position play reaches, either side first, by its key:
// the positions the searches are checked against the reference in.
template <class Visitar>
void visitarCadaChave(Visitar&& visitar) {
  std::set<int> vistas;
  for (jogador primeiro : {j1, j2}) {
    percorrerJogoDesdeOInicio(primeiro, [&](const JOGO& j) {
      JOGO copia = j;
      if (!vistas.insert(indiceDeUmDadoTabuleiro(&copia)).second) return naoSeguir;
      visitar(j);
      return seguirTodas;
    });
  }
}

}  // namespace velha
