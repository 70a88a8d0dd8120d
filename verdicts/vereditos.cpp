#include "verdicts/vereditos.h"

#include <algorithm>
#include <string_view>

#include "core/texto.h"
#include "dictionary/dicionario.h"
#include "search/busca.h"

namespace velha {

VEREDITOS buscarVereditos(JOGO j) {
  VEREDITOS vereditos{};
  // The console searches as `min` from depth 0: its scores are what lerPlacar reads.
  const NOTAS_DA_RAIZ notas = notasDaRaiz(j, min, 0);
  for (int i = 0; i < notas.quantidade; ++i) {
    const JOGADA_VALOR candidato = notas.candidatos[i];
    vereditos.livre[candidato.j] = true;
    vereditos.previsao[candidato.j] = lerPlacar(candidato.v);
  }
  vereditos.melhor = notas.escolhida.j;
  return vereditos;
}

namespace {

// Each unfinished position's verdicts, found by one search the first time they are asked
// for in a run, under the position's key: the dictionary's, seen from the side to move,
// which a position shares with its colours swapped, as the search reads both alike. So
// --why over many games, and each best line, searches a position once (verdicts_test
// checks the table against the search at every position of play, both colours).
struct GUARDADO {
  bool achado;
  VEREDITOS vereditos;
};
GUARDADO guardados[tamanhoDoDicionario];

}  // namespace

VEREDITOS vereditosDasCasas(JOGO j) {
  if (jogoEncerrado(j)) return buscarVereditos(j);  // none free; the key may lie beyond
  GUARDADO& guardado = guardados[indiceDeUmDadoTabuleiro(&j)];
  if (!guardado.achado) guardado = {true, buscarVereditos(j)};
  return guardado.vereditos;
}

CONTINUACAO melhorContinuacao(JOGO j, JOGADA casa) {
  CONTINUACAO continuacao{};
  if (!inserirJogada(&j, casa, j.jogadorAtual)) return continuacao;
  while (!jogoEncerrado(j)) {
    const JOGADA escolhida = vereditosDasCasas(j).melhor;
    continuacao.jogadas[continuacao.quantidade++] = escolhida;
    inserirJogada(&j, escolhida, j.jogadorAtual);
  }
  return continuacao;
}

namespace {

// The cell the rule reader's `b` would play names, or -1 (no rule, or a byte naming no cell).
int casaDoDicionario(JOGO j) {
  const int casa = casaDaRegra(regraDe(indiceDeUmDadoTabuleiro(&j)));
  return casa >= 0 && casa < totalDeCasas ? casa : -1;
}

char* escreverPrevisao(char* onde, bool livre, PREVISAO previsao) {
  *onde++ = ' ';
  if (!livre) {
    *onde++ = '-';
  } else if (previsao.fim == veredito::empate) {
    *onde++ = 'e';
  } else {
    const bool vence = previsao.fim == veredito::ganhou || previsao.fim == veredito::ganhara;
    *onde++ = vence ? 'v' : 'p';
    *onde++ = static_cast<char>('0' + previsao.fimEstimado);  // at most 8
  }
  return onde;
}

}  // namespace

bool algumJogoAlcanca(const JOGO& j) {
  const int meu = valorDoJogador(j.jogadorAtual);
  const int minhas = static_cast<int>(std::count(std::begin(j.A), std::end(j.A), meu));
  const int dele = j.marcas - minhas;
  if (dele != minhas && dele != minhas + 1) return false;
  unsigned comuns = (1U << totalDeCasas) - 1;  // the cells all the other's lines share
  for (const LINHA& linha : linhas) {
    const int valor = j.A[linha.casas[0]];
    if (valor == casaVazia || valor != j.A[linha.casas[1]] || valor != j.A[linha.casas[2]]) {
      continue;
    }
    if (valor == meu) return false;
    unsigned daLinha = 0;
    for (const int casa : linha.casas) daLinha |= 1U << casa;
    comuns &= daLinha;
  }
  return comuns != 0;
}

bool responderAPergunta(const char* pergunta, std::size_t tamanho, bool comDicionario,
                        char* resposta) {
  JOGO j;
  if (!lerJogoEmTexto(pergunta, tamanho, &j) || !algumJogoAlcanca(j)) return false;
  const VEREDITOS vereditos = vereditosDasCasas(j);
  // The question itself, checked, begins the answer.
  char* onde = std::copy(pergunta, pergunta + tamanhoDaPergunta, resposta);
  for (int casa = 0; casa < totalDeCasas; ++casa) {
    onde = escreverPrevisao(onde, vereditos.livre[casa], vereditos.previsao[casa]);
  }
  *onde++ = ' ';
  *onde++ = vereditos.melhor == semCandidato ? '-' : regraDaCasa(vereditos.melhor);
  *onde++ = ' ';
  if (!comDicionario) {
    *onde++ = '-';
  } else {
    const int casa = casaDoDicionario(j);
    *onde++ = casa >= 0 ? regraDaCasa(casa) : 'n';
  }
  for (int casa = 0; casa < totalDeCasas; ++casa) {
    *onde++ = ' ';
    const CONTINUACAO continuacao =
        vereditos.livre[casa] ? melhorContinuacao(j, casa) : CONTINUACAO{};
    if (continuacao.quantidade == 0) *onde++ = '-';
    for (int i = 0; i < continuacao.quantidade; ++i) *onde++ = regraDaCasa(continuacao.jogadas[i]);
  }
  *onde = '\0';
  return true;
}

namespace {

char* escrever(char* onde, std::string_view texto) {
  return std::copy(texto.begin(), texto.end(), onde);
}

char* escreverVeredito(char* onde, PREVISAO previsao) {
  if (previsao.fim == veredito::empate) return escrever(onde, "empate");
  if (previsao.fim == veredito::ganhou) return escrever(onde, "vence agora");
  const bool vence = previsao.fim == veredito::ganhara;
  onde = escrever(onde, vence ? "vence em " : "perde em ");
  *onde++ = static_cast<char>('0' + previsao.fimEstimado);  // at most 8
  return onde;
}

}  // namespace

bool escreverVereditos(const JOGO& j, bool comDicionario, char* linha) {
  if (jogoEncerrado(j)) return false;
  const VEREDITOS vereditos = vereditosDasCasas(j);
  const int regra = comDicionario ? casaDoDicionario(j) : -1;
  char* onde = escrever(linha, "Vereditos para ");
  *onde++ = letraDoJogador(j.jogadorAtual);
  *onde++ = ':';
  const char* separador = " ";
  for (int casa = 0; casa < totalDeCasas; ++casa) {
    if (!vereditos.livre[casa]) continue;
    onde = escrever(onde, separador);
    separador = ", ";
    *onde++ = regraDaCasa(casa);
    *onde++ = ' ';
    onde = escreverVeredito(onde, vereditos.previsao[casa]);
    if (casa == vereditos.melhor) onde = escrever(onde, " [melhor]");
    if (casa == regra) onde = escrever(onde, " [dicionario]");
  }
  if (regra >= 0 && !vereditos.livre[regra]) {
    onde = escrever(onde, " [dicionario: ");
    *onde++ = regraDaCasa(regra);
    onde = escrever(onde, " ocupada]");
  }
  *onde++ = '\n';
  *onde = '\0';
  return true;
}

}  // namespace velha
