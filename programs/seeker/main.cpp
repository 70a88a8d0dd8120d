// seeker: tic-tac-toe at the console, with an automatic move found by exhaustive search.
#include <cstdio>

#include "cli/programa.h"
#include "console/console.h"
#include "search/busca.h"
#include "verdicts/vereditos.h"

namespace velha {
namespace {

constexpr COMANDO comandosDoSeeker[] = {
    {"b", "play the best move for the side to move"},
    comandoJogar,
    comandoRecomecar,
    comandoAjuda,
    comandoSair,
};

constexpr PROGRAMA seekerNaLinhaDeComando{
    "seeker",
    "Usage: seeker [--why]\n"
    "       seeker --help | --version\n"
    "Play tic-tac-toe at the console. On request the program plays the best move for the\n"
    "side to move, found by an exhaustive minimax search, and says how the game will end.\n"
    "\n"
    "With --why, each board of a game still being played is followed by what every free\n"
    "cell leads to, with both sides playing perfectly after it (\"Vereditos para ...\").\n"
    "\n"
    "Commands are read from standard input, one letter each (the game speaks Portuguese):\n",
    comandosDoSeeker, "The board is printed at every line end. See seeker(6).\n"};

void ajuda() { imprimirAjuda("buscaMaxMin"); }

// The verdict line of each veredito: the cell, then the moves still to come where it says
// so (printf ignores an argument its format does not use).
constexpr const char* linhaDoVeredito[] = {
    "melhor jogada: %d [empate estimado]\n",
    "melhor jogada: %d [jogador atual ganhou]\n",
    "melhor jogada: %d [jogador atual ganhara em %d jogada(s)]\n",
    "resultado: jog: %d [jogador atual perdeu]\n",
    "resultado: jog: %d [jogador atual perdera em %d jogada(s)]\n",
};
static_assert(static_cast<int>(veredito::empate) == 0 && static_cast<int>(veredito::perdera) == 4,
              "linhaDoVeredito follows veredito's order");

void imprimirVeredito(JOGADA_VALOR res) {
  const PREVISAO previsao = lerPlacar(res.v);
  std::printf(linhaDoVeredito[static_cast<int>(previsao.fim)], res.j, previsao.fimEstimado);
}

JOGADA buscaMM(JOGO* j, jogador* jog) {
  std::printf("Busca Max Min - ");
  const JOGADA_VALOR res = buscaMaxMin(*j, min, 0);
  imprimirVeredito(res);
  return realizarJogada(j, jog, res.j) ? res.j : nenhumaJogada;
}

void imprimirVereditos(const JOGO& j) {
  char linha[tamanhoDosVereditos];
  if (escreverVereditos(j, false, linha)) std::fputs(linha, stdout);
}

int seeker(int argc, char** argv) {
  bool porQue = false;
  if (const auto status = iniciarPrograma(argc, argv, seekerNaLinhaDeComando, nullptr, &porQue)) {
    return *status;
  }
  return jogarNoConsole(seekerNaLinhaDeComando,
                        {buscaMM, ajuda, porQue ? imprimirVereditos : nullptr});
}

}  // namespace
}  // namespace velha

int main(int argc, char** argv) { return velha::seeker(argc, argv); }
