// The command loop of the three programs and the handlers they share.
#pragma once

#include <optional>

#include "cli/programa.h"
#include "core/jogo.h"

namespace velha {

// What a command that plays no move tells the page it played.
inline constexpr JOGADA nenhumaJogada = -1;

// What a program adds to the shared loop: its automatic move (`b`), its help (`h`), and
// how it differs from a game at the console.
struct COMANDOS_DO_PROGRAMA {
  // Returns the cell it played, or nenhumaJogada.
  JOGADA (*busca)(JOGO* j, jogador* jog);
  void (*ajuda)();
  // What it says under each board of a game still being played (the verdicts say nothing
  // of a finished one); nullptr: nothing.
  void (*depoisDoTabuleiro)(const JOGO& j) = nullptr;
  // `i`, whose line is then dropped; nullptr: `i` is no command.
  void (*listar)() = nullptr;
  // Whether a move is reported ("Jogada realizada com sucesso.") and a line end shows the
  // board; a silent program shows the board only with a refused move.
  bool relatarJogadas = true;
  // The side to move after `r`; none keeps the side whose turn it was.
  std::optional<jogador> vezAoRecomecar = std::nullopt;
  // What it hands the page after the game, after each command; nullptr: nothing more.
  void (*mostrarMaisNaPagina)() = nullptr;
};

// Reads commands from standard input until `q`, the end of input or a failure of
// standard output; statusAoEncerrar then tells which.
void executarComandos(JOGO* jogo, jogador* jogadorAtual, const COMANDOS_DO_PROGRAMA& programa);

// A program's whole session, once its command line is read: an empty game with X to
// move, the help, the command loop, and the exit status that ends it.
int jogarNoConsole(const PROGRAMA& programa, const COMANDOS_DO_PROGRAMA& comandos);

// Plays pos for the side to move and says whether it was accepted: always when refused,
// and when accepted if relatar.
bool realizarJogada(JOGO* j, jogador* jog, int pos, bool relatar = true);

// The command list; the playing programs differ only in the name of their `b`.
void imprimirAjuda(const char* nomeDaBusca);

// The game, after each command, and the cell that command played (or nenhumaJogada), for a
// page that shows it beside the console (mostrarOJogo).
void mostrarNaPagina(const JOGO& jogo, jogador vez, JOGADA jogada);

}  // namespace velha
