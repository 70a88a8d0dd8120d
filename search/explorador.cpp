#include "search/explorador.h"

#include <algorithm>

#include "search/busca.h"

namespace velha {
namespace {

// The search player's Politica, counting the moves it plays. One search at a time.
struct POLITICA_QUE_CONTA : POLITICA_DA_BUSCA {
  static inline long jogadas = 0;
  static void aoAplicar() { ++jogadas; }
};

long jogadasDaBusca(const JOGO& j, opcao op, int nivel) {
  POLITICA_QUE_CONTA::jogadas = 0;
  buscarExaustivamente<POLITICA_QUE_CONTA>(j, op, nivel);
  return POLITICA_QUE_CONTA::jogadas;
}

// The search player's Politica, writing down each candidate it scores. One search at a
// time, from at most livresParaRastrear free cells.
struct POLITICA_QUE_RASTREIA : POLITICA_DA_BUSCA {
  static inline PASSO* passos = nullptr;
  static inline int quantos = 0;
  static void aoPontuar(int nivel, JOGADA_VALOR candidato) {
    if (quantos < maximoDePassos)
      passos[quantos++] = {nivel, candidato.j, candidato.v, 0, 0, false};
  }
};

// Where alpha-beta writes down its steps, when it is watched step by step.
struct RASTRO {
  PASSO* passos;
  int quantos;
};

// Alpha-beta's level. It watches the node the moves caminho (restantes of them) lead to,
// off it caminho being nullptr: there it counts in *tentados the candidates it tries, and
// where it never gets, *tentados stays 0. With a rastro, it writes down every step.
int nivelDaAlfaBeta(const JOGO& j, opcao op, int nivel, int alfa, int beta, long* jogadas,
                    const JOGADA* caminho, int restantes, int* tentados, RASTRO* rastro = nullptr) {
  ++nivel;
  JOGO posicao = j;  // listaDeJogadas takes its game by pointer
  const LISTA_DE_JOGADAS candidatos = listaDeJogadas(&posicao);
  if (candidatos.jogadas[0] == 0) return buscaMaxMin(j, op, nivel - 1).v;  // a finished root
  const bool observado = caminho != nullptr && restantes == 0;
  int melhor = sentinela(op);
  for (int i = 1; i <= candidatos.jogadas[0]; ++i) {
    const JOGADA jogada = candidatos.jogadas[i];
    JOGO filho = j;
    inserirJogada(&filho, jogada, filho.jogadorAtual);
    ++*jogadas;
    if (observado) ++*tentados;
    const bool noCaminho = caminho != nullptr && restantes > 0 && caminho[0] == jogada;
    jogador vitorioso = empate;
    int valor = 0;
    if (!fimDeJogo(filho, &vitorioso)) {
      valor = nivelDaAlfaBeta(filho, outraOpcao(op), nivel, alfa, beta, jogadas,
                              noCaminho ? caminho + 1 : nullptr, restantes - 1, tentados, rastro);
    } else if (vitorioso != empate) {
      valor = op == min ? valorDaVitoria<min>(baseDaBusca, nivel)
                        : valorDaVitoria<max>(baseDaBusca, nivel);
    }
    melhor = minMax(valor, melhor, op);
    if (op == max) {
      alfa = std::max(alfa, melhor);
    } else {
      beta = std::min(beta, melhor);
    }
    if (rastro != nullptr && rastro->quantos < maximoDePassos) {
      rastro->passos[rastro->quantos++] = {nivel, jogada, valor, alfa, beta, alfa >= beta};
    }
    if (alfa >= beta) break;
  }
  return melhor;
}

long jogadasDaAlfaBeta(const JOGO& j, opcao op, int nivel) {
  long jogadas = 0;
  alfaBeta(j, op, nivel, sentinela(max), sentinela(min), &jogadas);
  return jogadas;
}

}  // namespace

int rastrearBusca(const JOGO& raiz, PASSO (&passos)[maximoDePassos]) {
  POLITICA_QUE_RASTREIA::passos = passos;
  POLITICA_QUE_RASTREIA::quantos = 0;
  buscarExaustivamente<POLITICA_QUE_RASTREIA>(raiz, min, 0);
  return POLITICA_QUE_RASTREIA::quantos;
}

int rastrearAlfaBeta(const JOGO& raiz, PASSO (&passos)[maximoDePassos]) {
  RASTRO rastro{passos, 0};
  long jogadas = 0;
  nivelDaAlfaBeta(raiz, min, 0, sentinela(max), sentinela(min), &jogadas, nullptr, 0, nullptr,
                  &rastro);
  return rastro.quantos;
}

int alfaBeta(const JOGO& j, opcao op, int nivel, int alfa, int beta, long* jogadas) {
  return nivelDaAlfaBeta(j, op, nivel, alfa, beta, jogadas, nullptr, 0, nullptr);
}

EXPLORACAO explorar(const JOGO& raiz, const JOGADA* caminho, int quantidade) {
  // The explored position is searched as the console does, `min` from depth 0: a row's
  // level is max or min by its depth.
  JOGO j = raiz;
  for (int i = 0; i < quantidade; ++i) inserirJogada(&j, caminho[i], j.jogadorAtual);
  const opcao op = quantidade % 2 == 0 ? min : max;
  EXPLORACAO exploracao{};
  const NOTAS_DA_RAIZ notas = notasDaRaiz(j, op, quantidade);
  exploracao.valor = notas.escolhida.v;
  jogador vitorioso = empate;
  if (quantidade > 0 && fimDeJogo(j, &vitorioso)) {
    // A row whose move ended the game: the score its level gave that move.
    exploracao.valor = vitorioso == empate ? 0
                       : op == min         ? valorDaVitoria<max>(baseDaBusca, quantidade)
                                           : valorDaVitoria<min>(baseDaBusca, quantidade);
  }
  exploracao.escolhida = notas.escolhida.j;
  exploracao.jogadas = jogadasDaBusca(j, op, quantidade);
  // Alpha-beta from the explored position, watching the row; at the position itself it is
  // the row's own count.
  int tentados = 0;
  long todas = 0;
  nivelDaAlfaBeta(raiz, min, 0, sentinela(max), sentinela(min), &todas, caminho, quantidade,
                  &tentados);
  exploracao.jogadasComAlfaBeta = quantidade == 0 ? todas : jogadasDaAlfaBeta(j, op, quantidade);
  exploracao.quantidade = notas.quantidade;
  for (int i = 0; i < notas.quantidade; ++i) {
    RAMO& ramo = exploracao.ramos[i];
    ramo.jogada = notas.candidatos[i].j;
    ramo.valor = notas.candidatos[i].v;
    ramo.cortadoPelaAlfaBeta = i >= tentados;
    JOGO filho = j;
    inserirJogada(&filho, ramo.jogada, filho.jogadorAtual);
    if (jogoEncerrado(filho)) continue;  // nothing below a move that ends the game
    ramo.abaixo = jogadasDaBusca(filho, outraOpcao(op), quantidade + 1);
    ramo.abaixoComAlfaBeta = jogadasDaAlfaBeta(filho, outraOpcao(op), quantidade + 1);
  }
  return exploracao;
}

}  // namespace velha
