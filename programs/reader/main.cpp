// reader: tic-tac-toe at the console, with an automatic move taken from the move
// dictionary in "dicionario.txt".
#include <cstdio>

#include "cli/programa.h"
#include "console/console.h"
#include "dictionary/dicionario.h"
#include "lookup/consulta.h"

namespace velha {
namespace {

constexpr PROGRAMA readerNaLinhaDeComando{
    "reader",
    "Usage: reader [--help | --version]\n"
    "Play tic-tac-toe at the console. On request the program plays the move that a move\n"
    "dictionary holds for the current position.\n"
    "\n"
    "The dictionary is the file dicionario.txt in the working directory, read once at\n"
    "start; scribe writes one, and a complete one is installed with the programs.\n"
    "\n"
    "Commands are read from standard input, one letter each (the game speaks Portuguese):\n"
    "  b      play the dictionary's move for the side to move\n"
    "  j N    play cell N (0 to 8, row by row) for the side to move\n"
    "  r      start a new, empty game; the side whose turn it was moves first\n"
    "  h      print the command list\n"
    "  q      quit\n"
    "The board is printed at every line end. See reader(6).\n"};

void help() { imprimirAjuda("buscaNoDicionario"); }

// Widened first, so that no int, not even INT_MIN, overflows.
long long valorAbsoluto(int v) { return v < 0 ? -static_cast<long long>(v) : v; }

void buscaDicionario(JOGO* j, jogador* jog) {
  std::printf("Busca Dicionario - ");
  const JOGADA_VALOR res = jogarDic(j);
  std::printf("melhor jogada: %d [indice buscado: %lld]\n", res.j, valorAbsoluto(res.v));
  realizarJogada(j, jog, res.j);
}

// The dictionary in the table, or the reason why not on standard output (the game's
// message) and on standard error.
bool carregarOuExplicar(const char* caminho) {
  const CARGA_DO_DICIONARIO lida = leDicionario(caminho);
  switch (lida.resultado) {
    case carga::carregada:
      return true;
    case carga::invalida:
      std::fflush(stdout);
      std::fprintf(stderr, "%s: %s: not a dictionary (line %lld)\n", readerNaLinhaDeComando.nome,
                   caminho, lida.linhaInvalida);
      return false;
    case carga::ilegivel:
      explicarFalha(readerNaLinhaDeComando, caminho, lida.erro);
      return false;
  }
  return false;
}

int reader(int argc, char** argv) {
  if (const auto status = iniciarPrograma(argc, argv, readerNaLinhaDeComando)) return *status;
  inicializarJogadas();
  if (!carregarOuExplicar(nomeDoDicionario)) return statusDeFalha;
  JOGO jogo;
  jogador jogadorAtual = j1;
  inicializarJogo(&jogo, jogadorAtual);
  help();
  executarComandos(&jogo, &jogadorAtual, {buscaDicionario, help});
  return statusAoEncerrar(readerNaLinhaDeComando);
}

}  // namespace
}  // namespace velha

int main(int argc, char** argv) { return velha::reader(argc, argv); }
