#include "core/texto.h"

namespace velha {

namespace {

constexpr char letraDaCasa(int valor) {
  return valor == casaVazia ? '.' : valor == casaX ? 'X' : 'O';
}

}  // namespace

char letraDoJogador(jogador jog) { return jog == j1 ? 'X' : 'O'; }

void escreverCasas(const JOGO& j, char* casas) {
  for (int casa = 0; casa < totalDeCasas; ++casa) casas[casa] = letraDaCasa(j.A[casa]);
  casas[totalDeCasas] = '\0';
}

char letraDoFim(const JOGO& j) {
  jogador vencedor = empate;
  if (!fimDeJogo(j, &vencedor)) return '-';
  return vencedor == empate ? '=' : letraDoJogador(vencedor);
}

bool lerCasas(const char* casas, jogador vez, JOGO* j) {
  JOGO lido;
  inicializarJogo(&lido, vez);
  for (int casa = 0; casa < totalDeCasas; ++casa) {
    const char letra = casas[casa];
    if (letra != '.' && letra != 'X' && letra != 'O') return false;
    lido.A[casa] = letra == 'X' ? casaX : letra == 'O' ? casaO : casaVazia;
    if (lido.A[casa] != casaVazia) ++lido.marcas;
  }
  *j = lido;
  return true;
}

bool lerJogoEmTexto(const char* texto, std::size_t tamanho, JOGO* j) {
  if (tamanho != tamanhoDoJogoEmTexto || texto[totalDeCasas] != ' ') return false;
  const char vez = texto[totalDeCasas + 1];
  if (vez != 'X' && vez != 'O') return false;
  return lerCasas(texto, vez == 'X' ? j1 : j2, j);
}

}  // namespace velha
