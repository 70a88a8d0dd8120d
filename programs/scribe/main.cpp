// scribe: builds the move dictionary by search and prints it as dictionary file lines.
// Silent on success, so that standard output carries nothing but the listing, apart
// from refused moves.
#include <cstdio>

#include "cli/programa.h"
#include "console/console.h"
#include "generator/gerador.h"
#include "input/entrada.h"
#include "platform/sistema.h"

namespace velha {
namespace {

constexpr PROGRAMA scribeNaLinhaDeComando{
    "scribe",
    "Usage: scribe [--help | --version]\n"
    "Build a tic-tac-toe move dictionary by exhaustive search and print it on standard\n"
    "output, one rule per line: saved as dicionario.txt, it is what reader plays from.\n"
    "\n"
    "Commands are read from standard input, one letter each; nothing is printed but the\n"
    "dictionary and refused moves:\n"
    "  b      search from the current position and record the move chosen in every\n"
    "         position, reachable from it, of the side to move\n"
    "  i      print the dictionary\n"
    "  j N    play cell N (0 to 8, row by row) for the side to move\n"
    "  r      start a new, empty game with O to move\n"
    "  h      nothing\n"
    "  q      quit\n"
    "For example: printf 'b\\ni\\nq\\n' | scribe > dicionario.txt. See scribe(6).\n"};

void help() {}

void jogarEmSilencio(JOGO* j, jogador* jog) {
  int pos = 0;
  switch (lerPosicao(entradaDosComandos(), &pos)) {
    case leitura::lida:
      if (inserirJogada(j, pos, *jog)) {
        *jog = outroJogador(*jog);
        return;
      }
      std::printf("Nao foi possivel realizar a jogada na posicao %d.\n", pos);
      break;
    case leitura::invalida:
      std::printf("Nao foi possivel realizar a jogada: posicao invalida.\n");
      break;
    case leitura::fimDaEntrada:
      return;  // the loop's next read meets the end of input too
  }
  imprimirTabuleiro(*j);
}

// Always O first: a search from here records the second player's rules.
void inicializar(JOGO* j, jogador* jogAtual) {
  inicializarJogo(j, j2);
  *jogAtual = j2;
}

// The game and the rules recorded so far, after each command, for a page that shows them.
void mostrar(const JOGO& jogo, jogador vez) {
  if (!haUmaPagina()) return;  // counting the rules is for the page alone
  mostrarNaPagina(jogo, vez);
  mostrarAsRegras(regrasGravadas());
}

int scribe(int argc, char** argv) {
  if (const auto status = iniciarPrograma(argc, argv, scribeNaLinhaDeComando)) return *status;
  inicializarJogadas();
  JOGO jogo;
  jogador jogadorAtual = j1;
  inicializarJogo(&jogo, jogadorAtual);
  help();

  FONTE* entrada = entradaDosComandos();
  char comando = ' ';
  mostrar(jogo, jogadorAtual);
  // End of input ends the program as `q` does.
  while (lerComando(entrada, &comando) && comando != 'q') {
    switch (comando) {
      case 'b':
        gerarJogadasAux(&jogo, &jogadorAtual);
        break;
      case 'h':
        help();
        break;
      case 'j':
        jogarEmSilencio(&jogo, &jogadorAtual);
        break;
      case 'r':
        inicializar(&jogo, &jogadorAtual);
        break;
      case 'i':
        imprimirTodasJogadas();
        [[fallthrough]];  // the rest of its line is discarded
      default:
        // The line end, or a character that is no command: its line is dropped silently.
        if (!descartarLinha(entrada, comando)) return statusAoEncerrar(scribeNaLinhaDeComando);
        break;
    }
    mostrar(jogo, jogadorAtual);
  }
  return statusAoEncerrar(scribeNaLinhaDeComando);
}

}  // namespace
}  // namespace velha

int main(int argc, char** argv) { return velha::scribe(argc, argv); }
