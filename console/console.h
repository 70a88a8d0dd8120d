// The command loop of the playing programs and the handlers they share.
#pragma once

#include "cli/programa.h"
#include "core/jogo.h"

namespace velha {

// What a program adds to the shared loop: its automatic move (`b`), its help (`h`) and,
// when asked for, what it says under each board (of a game still being played: the
// verdicts say nothing of a finished one).
struct COMANDOS_DO_PROGRAMA {
  void (*busca)(JOGO* j, jogador* jog);
  void (*help)();
  void (*depoisDoTabuleiro)(const JOGO& j);  // nullptr: nothing
};

// Reads commands from standard input until `q`, the end of input or a failure of
// standard output; statusAoEncerrar then tells which.
void executarComandos(JOGO* jogo, jogador* jogadorAtual, COMANDOS_DO_PROGRAMA programa);

// A playing program's whole session, once its command line is read: an empty game with X
// to move, the command list, the command loop, and the exit status that ends it.
int jogarNoConsole(const PROGRAMA& programa, COMANDOS_DO_PROGRAMA comandos);

// Plays pos for the side to move and says whether it was accepted.
void realizarJogada(JOGO* j, jogador* jog, int pos);

void jogar(JOGO* j, jogador* jog);

// The command list; the playing programs differ only in the name of their `b`.
void imprimirAjuda(const char* nomeDaBusca);

void inicializar(JOGO* j, jogador jogAtual);

// The game, after each command, for a page that shows it beside the console (mostrarOJogo).
void mostrarNaPagina(const JOGO& jogo, jogador vez);

}  // namespace velha
