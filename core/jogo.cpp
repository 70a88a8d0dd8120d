#include "core/jogo.h"

#include <cstdio>

namespace velha {
namespace {

// Indexed by cell value + 1.
constexpr char simbolos[] = {'X', ' ', 'O'};

char simbolo(int valorDaCasa) { return simbolos[valorDaCasa - casaX]; }

}  // namespace

void imprimirTabuleiro(JOGO j) {
  constexpr int colunas = 3;
  for (int linha = 0; linha < colunas; ++linha) {
    const int primeira = colunas * linha;
    std::printf("  %c | %c | %c ", simbolo(j.A[primeira]), simbolo(j.A[primeira + 1]),
                simbolo(j.A[primeira + 2]));
    std::printf("     ||    %d | %d | %d", primeira, primeira + 1, primeira + 2);
    std::printf(linha < colunas - 1 ? "\n -----------     ||   ----------- \n" : "\n");
  }
}

void meuLog(JOGO j) {
  imprimirTabuleiro(j);
  jogador vitorioso = empate;
  if (!fimDeJogo(j, &vitorioso)) return;
  std::printf("Jogo encerrado. ");
  switch (vitorioso) {
    case empate:
      std::printf("Jogo empatado (velha).\n");
      break;
    case j1:
      std::printf("Vitoria do jogador 1 (X).\n");
      break;
    case j2:
      std::printf("Vitoria do jogador 2 (O).\n");
      break;
  }
}

}  // namespace velha
