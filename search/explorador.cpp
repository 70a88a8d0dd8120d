#include "search/explorador.h"

#include <algorithm>
#include <array>

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

// The centre, then the corners, then the edges.
constexpr JOGADA centroCantosBordas[totalDeCasas] = {4, 0, 2, 6, 8, 1, 3, 5, 7};

// The exact score of j for the side op to move at depth 0, by minimax remembered by
// position (cells, side to move, and op): what "best first" orders a level's moves by.
// 3^9 boards, each with two sides to move and two ops; scores lie within ±baseDaBusca and
// are kept shifted, so that the table starts as zeros, "not known", and takes no room in
// the program.
constexpr int posicoesLembradas = 19683 * 2 * 2;
constexpr int deslocamento = 64;
static_assert(deslocamento > baseDaBusca);

int indiceDaPosicao(const JOGO& j, opcao op) {
  int indice = 0;
  for (int casa = 0; casa < totalDeCasas; ++casa) indice = indice * 3 + (j.A[casa] - casaX);
  return (indice * 2 + (j.jogadorAtual == j1 ? 0 : 1)) * 2 + (op == min ? 0 : 1);
}

// The score of a move's result at depth nivel: a win or a draw where it ends the game,
// else the position's exact score, its wins moved nivel deeper (wins count down by depth).
int notaExata(const JOGO& j, opcao op);
int notaDoLance(const JOGO& filho, opcao op, int nivel) {
  jogador vitorioso = empate;
  if (fimDeJogo(filho, &vitorioso)) {
    if (vitorioso == empate) return 0;
    return op == min ? valorDaVitoria<min>(baseDaBusca, nivel)
                     : valorDaVitoria<max>(baseDaBusca, nivel);
  }
  const int nota = notaExata(filho, outraOpcao(op));
  return nota > 0 ? nota - nivel : nota < 0 ? nota + nivel : 0;
}

int notaExata(const JOGO& j, opcao op) {
  static std::array<unsigned char, posicoesLembradas> lembradas{};
  unsigned char& lembrada = lembradas[static_cast<std::size_t>(indiceDaPosicao(j, op))];
  if (lembrada == 0) {
    JOGO posicao = j;
    const LISTA_DE_JOGADAS lista = listaDeJogadas(&posicao);
    int melhor = sentinela(op);
    for (int i = 1; i <= lista.jogadas[0]; ++i) {
      JOGO filho = j;
      inserirJogada(&filho, lista.jogadas[i], filho.jogadorAtual);
      melhor = minMax(notaDoLance(filho, op, 1), melhor, op);
    }
    lembrada = static_cast<unsigned char>(melhor + deslocamento);
  }
  return lembrada - deslocamento;
}

// A level's candidates in the order asked: into candidatos, how many.
int candidatosNaOrdem(const JOGO& j, opcao op, int nivel, ordem ordemDaAlfaBeta,
                      JOGADA (&candidatos)[totalDeCasas]) {
  JOGO posicao = j;  // listaDeJogadas takes its game by pointer
  const LISTA_DE_JOGADAS livres = listaDeJogadas(&posicao);
  int quantos = 0;
  if (ordemDaAlfaBeta == ordem::centro) {
    for (const JOGADA casa : centroCantosBordas) {
      if (j.A[casa] == casaVazia) candidatos[quantos++] = casa;
    }
    return quantos;
  }
  for (int i = 1; i <= livres.jogadas[0]; ++i) candidatos[quantos++] = livres.jogadas[i];
  if (ordemDaAlfaBeta == ordem::melhor) {
    int notas[totalDeCasas];
    for (int i = 0; i < quantos; ++i) {
      JOGO filho = j;
      inserirJogada(&filho, candidatos[i], filho.jogadorAtual);
      notas[candidatos[i]] = notaDoLance(filho, op, nivel);
    }
    // The side to move's best first: the lowest score for min, the highest for max; cells
    // in order among equals (the sort is stable, the cells ascending).
    std::stable_sort(candidatos, candidatos + quantos, [&](JOGADA a, JOGADA b) {
      return op == min ? notas[a] < notas[b] : notas[a] > notas[b];
    });
  }
  return quantos;
}

// Where alpha-beta writes down its steps, when it is watched step by step.
struct RASTRO {
  PASSO* passos;
  int quantos;
};

// Alpha-beta's level. It watches the node the moves caminho (restantes of them) lead to,
// off it caminho being nullptr: there it counts in *tentados the candidates it tries, and
// where it never gets, *tentados stays 0. With a rastro, it writes down every step.
int nivelDaAlfaBeta(const JOGO& j, opcao op, int nivel, int alfa, int beta, long* jogadas,
                    const JOGADA* caminho, int restantes, int* tentados, ordem ordemDaAlfaBeta,
                    RASTRO* rastro = nullptr) {
  ++nivel;
  JOGADA candidatos[totalDeCasas];
  const int quantos = candidatosNaOrdem(j, op, nivel, ordemDaAlfaBeta, candidatos);
  if (quantos == 0) return buscaMaxMin(j, op, nivel - 1).v;  // a finished root
  const bool observado = caminho != nullptr && restantes == 0;
  int melhor = sentinela(op);
  for (int i = 0; i < quantos; ++i) {
    const JOGADA jogada = candidatos[i];
    JOGO filho = j;
    inserirJogada(&filho, jogada, filho.jogadorAtual);
    ++*jogadas;
    if (observado) ++*tentados;
    const bool noCaminho = caminho != nullptr && restantes > 0 && caminho[0] == jogada;
    jogador vitorioso = empate;
    int valor = 0;
    if (!fimDeJogo(filho, &vitorioso)) {
      valor = nivelDaAlfaBeta(filho, outraOpcao(op), nivel, alfa, beta, jogadas,
                              noCaminho ? caminho + 1 : nullptr, restantes - 1, tentados,
                              ordemDaAlfaBeta, rastro);
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

long jogadasDaAlfaBeta(const JOGO& j, opcao op, int nivel, ordem ordemDaAlfaBeta) {
  long jogadas = 0;
  alfaBeta(j, op, nivel, sentinela(max), sentinela(min), &jogadas, ordemDaAlfaBeta);
  return jogadas;
}

}  // namespace

int rastrearBusca(const JOGO& raiz, PASSO (&passos)[maximoDePassos]) {
  POLITICA_QUE_RASTREIA::passos = passos;
  POLITICA_QUE_RASTREIA::quantos = 0;
  buscarExaustivamente<POLITICA_QUE_RASTREIA>(raiz, min, 0);
  return POLITICA_QUE_RASTREIA::quantos;
}

int rastrearAlfaBeta(const JOGO& raiz, PASSO (&passos)[maximoDePassos], ordem ordemDaAlfaBeta) {
  RASTRO rastro{passos, 0};
  long jogadas = 0;
  nivelDaAlfaBeta(raiz, min, 0, sentinela(max), sentinela(min), &jogadas, nullptr, 0, nullptr,
                  ordemDaAlfaBeta, &rastro);
  return rastro.quantos;
}

int alfaBeta(const JOGO& j, opcao op, int nivel, int alfa, int beta, long* jogadas,
             ordem ordemDaAlfaBeta) {
  return nivelDaAlfaBeta(j, op, nivel, alfa, beta, jogadas, nullptr, 0, nullptr, ordemDaAlfaBeta);
}

EXPLORACAO explorar(const JOGO& raiz, const JOGADA* caminho, int quantidade,
                    ordem ordemDaAlfaBeta) {
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
                  &tentados, ordemDaAlfaBeta);
  exploracao.jogadasComAlfaBeta =
      quantidade == 0 ? todas : jogadasDaAlfaBeta(j, op, quantidade, ordemDaAlfaBeta);
  exploracao.quantidade = notas.quantidade;
  // The moves alpha-beta tries at the row are the first tentados of its order.
  JOGADA naOrdem[totalDeCasas];
  const int quantos = candidatosNaOrdem(j, op, quantidade + 1, ordemDaAlfaBeta, naOrdem);
  for (int i = 0; i < notas.quantidade; ++i) {
    RAMO& ramo = exploracao.ramos[i];
    ramo.jogada = notas.candidatos[i].j;
    ramo.valor = notas.candidatos[i].v;
    ramo.cortadoPelaAlfaBeta = std::find(naOrdem, naOrdem + std::min(tentados, quantos),
                                         ramo.jogada) == naOrdem + std::min(tentados, quantos);
    JOGO filho = j;
    inserirJogada(&filho, ramo.jogada, filho.jogadorAtual);
    if (jogoEncerrado(filho)) continue;  // nothing below a move that ends the game
    ramo.abaixo = jogadasDaBusca(filho, outraOpcao(op), quantidade + 1);
    ramo.abaixoComAlfaBeta =
        jogadasDaAlfaBeta(filho, outraOpcao(op), quantidade + 1, ordemDaAlfaBeta);
  }
  return exploracao;
}

}  // namespace velha
