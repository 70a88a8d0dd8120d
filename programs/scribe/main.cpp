// scribe: builds the move dictionary by search and prints it as dictionary file lines.
// Silent on success, so that standard output carries nothing but the listing, apart
// from refused moves.
#include <cstdio>

#include "console/entrada.h"
#include "generator/gerador.h"

namespace velha {
namespace {

void help() {}

void jogar(JOGO* j, jogador* jog) {
  int pos = 0;
  switch (lerInteiro(entradaDosComandos(), &pos)) {
    case LEITURA::lida:
      if (inserirJogada(j, pos, *jog)) {
        *jog = outroJogador(*jog);
        return;
      }
      std::printf("Nao foi possivel realizar a jogada na posicao %d.\n", pos);
      break;
    case LEITURA::invalida:
      std::printf("Nao foi possivel realizar a jogada: posicao invalida.\n");
      break;
    case LEITURA::fimDaEntrada:
      return;  // the loop's next read meets the end of input too
  }
  imprimirTabuleiro(*j);
}

// Always O first: a search from here records the second player's rules.
void inicializar(JOGO* j, jogador* jogAtual) {
  inicializarJogo(j, j2);
  *jogAtual = j2;
}

int scribe() {
  inicializarJogadas();
  JOGO jogo;
  jogador jogadorAtual = j1;
  inicializarJogo(&jogo, jogadorAtual);
  help();

  const ENTRADA_DOS_COMANDOS comandos(stdout);
  std::FILE* entrada = comandos.fluxo();
  char comando = ' ';
  // End of input ends the program as `q` does.
  while (lerProximoComando(entrada, stdout, &comando) && comando != 'q') {
    switch (comando) {
      case 'b':
        gerarJogadasAux(&jogo, &jogadorAtual);
        break;
      case 'h':
        help();
        break;
      case 'j':
        jogar(&jogo, &jogadorAtual);
        break;
      case 'r':
        inicializar(&jogo, &jogadorAtual);
        break;
      case 'i':
        imprimirTodasJogadas();
        [[fallthrough]];  // the rest of its line is discarded
      default:
        // The line end, or a character that is no command: its line is dropped silently.
        if (!descartarLinha(entrada, comando)) return statusAoEncerrar(entrada, stdout);
        break;
    }
  }
  return statusAoEncerrar(entrada, stdout);
}

}  // namespace
}  // namespace velha

int main() { return velha::scribe(); }
