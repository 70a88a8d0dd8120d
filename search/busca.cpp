#include "search/busca.h"

#include <cstdint>

namespace velha {

JOGADA_VALOR buscaMaxMin(JOGO j, opcao op, int nivelAtual) {
  return buscarExaustivamente<POLITICA_DA_BUSCA>(j, op, nivelAtual);
}

NOTAS_DA_RAIZ notasDaRaiz(JOGO j, opcao op, int nivelAtual) {
  // The root level's own loop, once for each candidate, outside the searches' hot path.
  NOTAS_DA_RAIZ notas{};
  const LISTA_DE_JOGADAS lista = listaDeJogadas(&j);
  const std::uint32_t somas = somasDasLinhas(j.A);
  const int nivelDaJogada = nivelAtual + 1;
  for (int i = 1; i <= lista.jogadas[0]; ++i) {
    const JOGADA jogada = lista.jogadas[i];
    JOGO filho = j;
    inserirJogada(&filho, jogada, filho.jogadorAtual);
    int valor = 0;  // a draw
    switch (desfechoDaJogada(somasComAMarca(somas, jogada, filho.A[jogada]), filho)) {
      case desfecho::vitoria:
        valor = op == min ? valorDaVitoria<min>(baseDaBusca, nivelDaJogada)
                          : valorDaVitoria<max>(baseDaBusca, nivelDaJogada);
        break;
      case desfecho::continua:
        valor = buscaMaxMin(filho, outraOpcao(op), nivelDaJogada).v;
        break;
      case desfecho::empate:
        break;
    }
    notas.candidatos[notas.quantidade++] = {jogada, valor};
  }
  return notas;
}

}  // namespace velha
