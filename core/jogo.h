// The game core: a tic-tac-toe position, its rules and its console report.
// It keeps no state of its own; every operation works on the record it is given.
// The rules are inline because the exhaustive searches apply every move through them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

// Every name of the project lives in this namespace: some of them (j1) are also POSIX
// functions of <math.h>, which any standard header may bring in.
namespace velha {

enum jogador { j1 = 0, j2 = 1, empate = 2 };

using JOGADA = int;

inline constexpr int totalDeCasas = 9;
inline constexpr int casaX = -1;
inline constexpr int casaVazia = 0;
inline constexpr int casaO = 1;

struct JOGO {
  int A[totalDeCasas];  // cells 0..8, row by row: casaX, casaVazia or casaO
  jogador jogadorAtual;
  int jogadas;  // marks placed so far
};

// Element 0 is the count n; elements 1..n are the free cells in ascending order.
struct LISTA_DE_JOGADAS {
  int jogadas[totalDeCasas + 1];
};

struct JOGADA_VALOR {
  JOGADA j;
  int v;
};

struct LINHA {
  int casas[3];
};

// In the order they are tested: when several lines are complete (possible only in a
// record built by hand), the first one decides who has won.
inline constexpr std::array<LINHA, 8> linhas{{
    {{0, 1, 2}},
    {{3, 4, 5}},
    {{6, 7, 8}},
    {{0, 3, 6}},
    {{1, 4, 7}},
    {{2, 5, 8}},
    {{2, 4, 6}},
    {{0, 4, 8}},
}};

inline constexpr int marcasNaLinha = 3;

inline void inicializarJogo(JOGO* j, jogador jog) {
  *j = JOGO{};
  j->jogadorAtual = jog;
}

inline int valorDoJogador(jogador jog) { return jog == j1 ? casaX : casaO; }

inline jogador jogadorDoValor(int v) { return v == casaX ? j1 : j2; }

inline jogador outroJogador(jogador jog) { return jog == j1 ? j2 : j1; }

// Which lines are complete, all eight at once, since the searches ask on every node.
// Each line owns a 4-bit lane of one word (line l in bits 4l..4l+3), and a cell's weight
// has a 1 in the lane of every line through it. Summing value * weight over the board on
// top of 5 in every lane leaves each lane at 5 + the line's sum, within 2..8: 2 for three
// X, 8 for three O. The sum is exact in any order as long as cells hold -1, 0 or +1:
// unsigned arithmetic wraps and no lane ever carries into the next.
inline constexpr int bitsPorFaixa = 4;
inline constexpr std::uint32_t umPorFaixa = 0x11111111;
inline constexpr std::uint32_t topoDasFaixas = umPorFaixa << (bitsPorFaixa - 1);
inline constexpr std::uint32_t somasVazias = (marcasNaLinha + 2) * umPorFaixa;
static_assert(linhas.size() * bitsPorFaixa == 32, "one lane per line fills the word");

inline constexpr std::array<std::uint32_t, totalDeCasas> pesosDasCasas = [] {
  std::array<std::uint32_t, totalDeCasas> pesos{};
  for (std::size_t l = 0; l < linhas.size(); ++l) {
    for (int casa : linhas[l].casas) pesos[casa] |= std::uint32_t{1} << (bitsPorFaixa * l);
  }
  return pesos;
}();

// Written out cell by cell (a fold) rather than as a loop, which the compiler turns into
// slower vector code.
template <std::size_t... casa>
std::uint32_t somarPesos(const JOGO& j, std::index_sequence<casa...>) {
  return (somasVazias + ... + (static_cast<std::uint32_t>(j.A[casa]) * pesosDasCasas[casa]));
}

inline std::uint32_t somasDasLinhas(const JOGO& j) {
  return somarPesos(j, std::make_index_sequence<totalDeCasas>{});
}

// The top bit of a lane marks three O (8) as the sum stands, and three X (2) once 3 is
// taken from every lane: only 2 wraps. The subtraction may borrow into lanes above a line
// of X and mark them too, never below it, so the lowest mark is always the first
// complete line in table order.
constexpr std::uint32_t marcasDasLinhasCompletas(std::uint32_t somas) {
  return (somas | (somas - marcasNaLinha * umPorFaixa)) & topoDasFaixas;
}

// The lines' sums once a mark of value valor is put in cell casa: valor is added to the
// lane of every line through the cell.
constexpr std::uint32_t somasComAMarca(std::uint32_t somas, int casa, int valor) {
  return somas + static_cast<std::uint32_t>(valor) * pesosDasCasas[casa];
}

inline bool fimDeJogo(JOGO j, jogador* vitorioso) {
  const std::uint32_t somas = somasDasLinhas(j);
  if (const std::uint32_t marcas = marcasDasLinhasCompletas(somas); marcas != 0) {
    // The lowest mark is the first complete line, which decides; its lane tells whose
    // marks fill it, the top bit being set in the sum itself only for three O.
    const std::uint32_t primeira = marcas & (~marcas + 1);  // the lowest set bit alone
    *vitorioso = jogadorDoValor((somas & primeira) != 0 ? casaO : casaX);
    return true;
  }
  if (j.jogadas == totalDeCasas) {
    *vitorioso = empate;
    return true;
  }
  return false;
}

inline bool jogoEncerrado(const JOGO& j) {
  jogador descartado;
  return fimDeJogo(j, &descartado);
}

inline bool inserirJogada(JOGO* j, int posicao, jogador jog) {
  if (posicao < 0 || posicao >= totalDeCasas) return false;
  if (jog != j->jogadorAtual) return false;
  if (jogoEncerrado(*j)) return false;
  if (j->jogadas == totalDeCasas) return false;
  if (j->A[posicao] != casaVazia) return false;
  j->A[posicao] = valorDoJogador(jog);
  ++j->jogadas;
  j->jogadorAtual = outroJogador(jog);
  return true;
}

// A finished game has no legal move, even with free cells.
inline LISTA_DE_JOGADAS listaDeJogadas(JOGO* j) {
  // Only the count and the cells it covers are written: the elements past the count are
  // never read, and clearing them was a measurable part of every search node.
  LISTA_DE_JOGADAS lista;
  int quantidade = 0;
  if (!jogoEncerrado(*j)) {
    for (int casa = 0; casa < totalDeCasas; ++casa) {
      if (j->A[casa] == casaVazia) lista.jogadas[++quantidade] = casa;
    }
  }
  lista.jogadas[0] = quantidade;
  return lista;
}

void imprimirTabuleiro(JOGO j);

// The board and, once the game is over, the result.
void meuLog(JOGO j);

}  // namespace velha
