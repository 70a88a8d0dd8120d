#include "console/console.h"

#include <cstdio>

#include "core/texto.h"
#include "input/entrada.h"
#include "platform/sistema.h"

namespace velha {

void realizarJogada(JOGO* j, jogador* jog, int pos) {
  if (inserirJogada(j, pos, *jog)) {
    std::printf("Jogada realizada com sucesso.\n");
    *jog = outroJogador(*jog);
  } else {
    std::printf("Nao foi possivel realizar a jogada na posicao %d.\n", pos);
  }
}

void jogar(JOGO* j, jogador* jog) {
  int pos = 0;
  switch (lerPosicao(entradaDosComandos(), &pos)) {
    case leitura::lida:
      realizarJogada(j, jog, pos);
      break;
    case leitura::invalida:
      std::printf("Nao foi possivel realizar a jogada: posicao invalida.\n");
      break;
    case leitura::fimDaEntrada:
      break;  // the loop's next read meets the end of input too
  }
}

void imprimirAjuda(const char* nomeDaBusca) {
  std::printf("Comandos validos: \n");
  std::printf("   b : %s (jogada automatica)\n", nomeDaBusca);
  std::printf("   j <posicao[0..8]> : jogar na posicao\n");
  std::printf("   h : exibir esta mensagem de ajuda\n");
  std::printf("   r : re-iniciar jogo\n");
  std::printf("   q : encerrar programa\n");
}

void inicializar(JOGO* j, jogador jogAtual) { inicializarJogo(j, jogAtual); }

void mostrarNaPagina(const JOGO& jogo, jogador vez) {
  if (!haUmaPagina()) return;
  char casas[totalDeCasas + 1];
  escreverCasas(jogo, casas);
  mostrarOJogo(casas, letraDoJogador(vez), letraDoFim(jogo));
}

void executarComandos(JOGO* jogo, jogador* jogadorAtual, COMANDOS_DO_PROGRAMA programa) {
  FONTE* entrada = entradaDosComandos();
  char comando = ' ';
  mostrarNaPagina(*jogo, *jogadorAtual);
  // End of input ends the program as `q` does.
  while (lerComando(entrada, &comando) && comando != 'q') {
    switch (comando) {
      case 'h':
        programa.help();
        break;
      case 'b':
        programa.busca(jogo, jogadorAtual);
        break;
      case 'j':
        jogar(jogo, jogadorAtual);
        break;
      case 'r':
        inicializar(jogo, *jogadorAtual);
        break;
      default:
        // The line end, or the first character of a line that holds no command. Input
        // that ends within the line ends the program without a report.
        if (!descartarLinha(entrada, comando)) return;
        meuLog(*jogo);
        if (programa.depoisDoTabuleiro != nullptr) programa.depoisDoTabuleiro(*jogo);
        break;
    }
    mostrarNaPagina(*jogo, *jogadorAtual);
  }
}

int jogarNoConsole(const PROGRAMA& programa, COMANDOS_DO_PROGRAMA comandos) {
  JOGO jogo;
  jogador jogadorAtual = j1;
  inicializarJogo(&jogo, jogadorAtual);
  comandos.help();
  executarComandos(&jogo, &jogadorAtual, comandos);
  return statusAoEncerrar(programa);
}

}  // namespace velha
