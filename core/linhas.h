// The board's eight lines, in the order the game tests them, and their sums kept together
// in one word: whether a line is complete, and which complete line comes first, then take
// a few arithmetic operations rather than eight sums of three cells. The game's rules
// (jogo.h) and the search (search/minimax.h) use the operations at the end of this file
// and nothing of the layout above them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace velha {

inline constexpr int totalDeCasas = 9;
inline constexpr int casasNaLinha = 3;

struct LINHA {
  int casas[casasNaLinha];
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

// Each line owns a four-bit lane of one word, line l in bits 4l to 4l+3, and each lane
// holds its line's sum (cells hold -1 for X, 0, +1 for O) on top of a base that puts a
// line of three O on the lane's top bit:
//
//   lane value   the line             the lane less 3
//   2            three X, sum -3      wraps round to 15: top bit set
//   3 to 7       not complete         0 to 4: top bit clear
//   8            three O, sum +3      5, but the value itself has the top bit
//
// So the lanes' values, or'ed with the lanes less 3, flag exactly the complete lines in
// their top bits. A lane holding 2 borrows from the lane above it when 3 is taken, which
// may flag that lane wrongly, but never one below: the lowest flag is always the first
// complete line in table order, the only one the game asks for. The sums themselves never
// carry from lane to lane, since every lane stays within 2 to 8.
//
// core_test checks fimDeJogo, which is built on this, against the plain rule for every
// filling of the nine cells; search_test checks the sums after every move from every
// unfinished filling.
inline constexpr int bitsPorFaixa = 4;
inline constexpr std::uint32_t umEmCadaFaixa = [] {
  std::uint32_t um = 0;
  for (std::size_t l = 0; l < linhas.size(); ++l) um |= std::uint32_t{1} << (bitsPorFaixa * l);
  return um;
}();
inline constexpr std::uint32_t topoDeCadaFaixa = umEmCadaFaixa << (bitsPorFaixa - 1);
inline constexpr std::uint32_t baseDaFaixa =
    (std::uint32_t{1} << (bitsPorFaixa - 1)) - casasNaLinha;
inline constexpr std::uint32_t somasSemMarcas = baseDaFaixa * umEmCadaFaixa;
static_assert(linhas.size() * bitsPorFaixa == 32, "one lane per line fills the word");

// A cell's weight has a 1 in the lane of every line through it.
inline constexpr std::array<std::uint32_t, totalDeCasas> pesosDasCasas = [] {
  std::array<std::uint32_t, totalDeCasas> pesos{};
  for (std::size_t l = 0; l < linhas.size(); ++l) {
    for (int casa : linhas[l].casas) pesos[casa] |= std::uint32_t{1} << (bitsPorFaixa * l);
  }
  return pesos;
}();

// The top bit of the lane of every complete line, and perhaps of lanes above the first.
constexpr std::uint32_t bandeirasDasLinhasCompletas(std::uint32_t somas) {
  return (somas | (somas - casasNaLinha * umEmCadaFaixa)) & topoDeCadaFaixa;
}

// Written out cell by cell (a fold) rather than as a loop, which the compiler turns into
// slower vector code.
template <std::size_t... casa>
std::uint32_t somarPesos(const int (&casas)[totalDeCasas], std::index_sequence<casa...>) {
  return (somasSemMarcas + ... + (static_cast<std::uint32_t>(casas[casa]) * pesosDasCasas[casa]));
}

// What the game's rules and the search use:

// The sums of the eight lines of a board whose cells hold -1, 0 or +1.
inline std::uint32_t somasDasLinhas(const int (&casas)[totalDeCasas]) {
  return somarPesos(casas, std::make_index_sequence<totalDeCasas>{});
}

// The sums once a mark of value valor is put in the empty cell casa: valor is added to
// the lane of every line through the cell.
constexpr std::uint32_t somasComAMarca(std::uint32_t somas, int casa, int valor) {
  return somas + static_cast<std::uint32_t>(valor) * pesosDasCasas[casa];
}

constexpr bool haLinhaCompleta(std::uint32_t somas) {
  return bandeirasDasLinhasCompletas(somas) != 0;
}

// The value of the cells of the first complete line in table order, -1 or +1, when
// haLinhaCompleta.
constexpr int valorDaPrimeiraLinhaCompleta(std::uint32_t somas) {
  const std::uint32_t bandeiras = bandeirasDasLinhasCompletas(somas);
  // The lowest flag alone; its lane holds 8 for three O, whose top bit is in the sum.
  const std::uint32_t primeira = bandeiras & (~bandeiras + 1);
  return (somas & primeira) != 0 ? 1 : -1;
}

}  // namespace velha
