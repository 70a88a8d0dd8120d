// scribe: builds the move dictionary by search and prints it as dictionary file lines.
// Silent on success, so that standard output carries nothing but the listing, apart
// from refused moves.

#include "cli/programa.h"
#include "console/console.h"
#include "generator/gerador.h"
#include "platform/pagina.h"
#include "platform/sistema.h"

namespace velha {
namespace {

constexpr COMANDO comandosDoScribe[] = {
    {"b",
     "search from the current position and record the move chosen in every\n"
     "position, reachable from it, of the side to move"},
    {"i", "print the dictionary"},
    comandoJogar,
    {"r", "start a new, empty game with O to move"},
    {"h", "nothing"},
    comandoSair,
};

constexpr PROGRAMA scribeNaLinhaDeComando{
    "scribe",
    "Usage: scribe [--help | --version]\n"
    "Build a tic-tac-toe move dictionary by exhaustive search and print it on standard\n"
    "output, one rule per line: saved as dicionario.txt, it is what reader plays from.\n"
    "\n"
    "Commands are read from standard input, one letter each; nothing is printed but the\n"
    "dictionary and refused moves:\n",
    comandosDoScribe,
    "For example: printf 'b\\ni\\nq\\n' | scribe > dicionario.txt. See scribe(6).\n"};

void ajuda() {}  // the listing is all scribe writes

// b records rules and leaves the game as it was.
JOGADA gravarRegras(JOGO* j, jogador* jog) {
  gerarJogadasAux(j, jog);
  return nenhumaJogada;
}

// The rules recorded so far, for a page that counts them.
void mostrarAsRegrasNaPagina() { mostrarAsRegras(regrasGravadas()); }

int scribe(int argc, char** argv) {
  if (const auto status = iniciarPrograma(argc, argv, scribeNaLinhaDeComando)) return *status;
  inicializarRegras();
  // Silent, so that standard output holds the listing alone; after r, O moves first, and a
  // search from there records the second player's rules.
  return jogarNoConsole(scribeNaLinhaDeComando, {.busca = gravarRegras,
                                                 .ajuda = ajuda,
                                                 .listar = imprimirRegras,
                                                 .relatarJogadas = false,
                                                 .vezAoRecomecar = j2,
                                                 .mostrarMaisNaPagina = mostrarAsRegrasNaPagina});
}

}  // namespace
}  // namespace velha

int main(int argc, char** argv) { return velha::scribe(argc, argv); }
