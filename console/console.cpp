#include "console/console.h"

#include <cstdio>

#include "core/texto.h"
#include "input/entrada.h"
#include "platform/pagina.h"
#include "platform/sistema.h"

namespace velha {

bool realizarJogada(JOGO* j, jogador* jog, int pos, bool relatar) {
  if (inserirJogada(j, pos, *jog)) {
    if (relatar) std::printf("Jogada realizada com sucesso.\n");
    *jog = outroJogador(*jog);
    return true;
  }
  std::printf("Nao foi possivel realizar a jogada na posicao %d.\n", pos);
  return false;
}

namespace {

// Returns the cell played, or nenhumaJogada.
JOGADA jogar(JOGO* j, jogador* jog, bool relatar) {
  int pos = 0;
  switch (lerPosicao(entradaDosComandos(), &pos)) {
    case leitura::lida:
      if (realizarJogada(j, jog, pos, relatar)) return pos;
      break;
    case leitura::invalida:
      std::printf("Nao foi possivel realizar a jogada: posicao invalida.\n");
      break;
    case leitura::fimDaEntrada:
      return nenhumaJogada;  // the loop's next read meets the end of input too
  }
  // A silent program shows no board at the line's end: the refusal shows it here.
  if (!relatar) imprimirTabuleiro(*j);
  return nenhumaJogada;
}

void recomecar(JOGO* j, jogador* jog, std::optional<jogador> vez) {
  if (vez) *jog = *vez;
  inicializarJogo(j, *jog);
}

void atualizarAPagina(const JOGO& jogo, jogador vez, JOGADA jogada,
                      const COMANDOS_DO_PROGRAMA& programa) {
  if (!haUmaPagina()) return;
  mostrarNaPagina(jogo, vez, jogada);
  if (programa.mostrarMaisNaPagina != nullptr) programa.mostrarMaisNaPagina();
}

}  // namespace

void imprimirAjuda(const char* nomeDaBusca) {
  std::printf("Comandos validos: \n");
  std::printf("   b : %s (jogada automatica)\n", nomeDaBusca);
  std::printf("   j <posicao[0..8]> : jogar na posicao\n");
  std::printf("   h : exibir esta mensagem de ajuda\n");
  std::printf("   r : re-iniciar jogo\n");
  std::printf("   q : encerrar programa\n");
}

void mostrarNaPagina(const JOGO& jogo, jogador vez, JOGADA jogada) {
  if (!haUmaPagina()) return;
  char casas[totalDeCasas + 1];
  escreverCasas(jogo, casas);
  mostrarOJogo(casas, letraDoJogador(vez), letraDoFim(jogo), jogada);
}

void executarComandos(JOGO* jogo, jogador* jogadorAtual, const COMANDOS_DO_PROGRAMA& programa) {
  FONTE* entrada = entradaDosComandos();
  char comando = ' ';
  atualizarAPagina(*jogo, *jogadorAtual, nenhumaJogada, programa);
  // End of input ends the program as `q` does.
  while (lerComando(entrada, &comando) && comando != 'q') {
    JOGADA jogada = nenhumaJogada;
    switch (comando) {
      case 'h':
        programa.ajuda();
        break;
      case 'b':
        jogada = programa.busca(jogo, jogadorAtual);
        break;
      case 'j':
        jogada = jogar(jogo, jogadorAtual, programa.relatarJogadas);
        break;
      case 'r':
        recomecar(jogo, jogadorAtual, programa.vezAoRecomecar);
        break;
      case 'i':
        if (programa.listar != nullptr) programa.listar();
        [[fallthrough]];  // the rest of its line is dropped, as any other's
      default:
        // The line end, or the first character of a line that holds no command. Input
        // that ends within the line ends the program without a report.
        if (!descartarLinha(entrada, comando)) return;
        if (programa.relatarJogadas) {
          meuLog(*jogo);
          if (programa.depoisDoTabuleiro != nullptr) programa.depoisDoTabuleiro(*jogo);
        }
        // The page is told the game once a command, so that it can count them: a line end
        // or a line with no command changes nothing. After i, the page takes what was
        // written since as a listing.
        if (comando != 'i') continue;
        break;
    }
    atualizarAPagina(*jogo, *jogadorAtual, jogada, programa);
  }
}

int jogarNoConsole(const PROGRAMA& programa, const COMANDOS_DO_PROGRAMA& comandos) {
  JOGO jogo;
  jogador jogadorAtual = j1;
  inicializarJogo(&jogo, jogadorAtual);
  comandos.ajuda();
  executarComandos(&jogo, &jogadorAtual, comandos);
  return statusAoEncerrar(programa);
}

}  // namespace velha
