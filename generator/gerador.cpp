#include "generator/gerador.h"

#include <cstdio>

namespace velha {

void salvarEstadoRegra(JOGO* j, JOGADA jog) {
  if (jog < 0 || jog >= totalDeCasas) return;
  const int chave = indiceDeUmDadoTabuleiro(j);
  if (!chaveNoDicionario(chave)) return;
  jogadas[chave] = static_cast<char>('0' + jog);
}

namespace {

struct PoliticaDoGerador {
  static constexpr int baseDaVitoria = baseDoGerador;
  static void escolhaDoMin(JOGO* j, JOGADA escolhida) { salvarEstadoRegra(j, escolhida); }
};

}  // namespace

JOGADA_VALOR gerarJogadas(JOGO j, opcao op, int nivelAtual) {
  return buscarExaustivamente<PoliticaDoGerador>(j, op, nivelAtual);
}

void gerarJogadasAux(JOGO* j, jogador* /*jog*/) { gerarJogadas(*j, min, 0); }

void imprimirJogadas() {
  for (int chave = 0; chave < tamanhoDoDicionario; ++chave) {
    if (jogadas[chave] != semRegra) std::printf("%d %c\n", chave, jogadas[chave]);
  }
}

void imprimirTodasJogadas() { imprimirJogadas(); }

}  // namespace velha
