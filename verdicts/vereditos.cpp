#include "verdicts/vereditos.h"

#include <algorithm>
#include <string_view>

#include "core/texto.h"
#include "dictionary/dicionario.h"
#include "search/busca.h"

namespace velha {

VEREDITOS vereditosDasCasas(JOGO j) {
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

CONTINUACAO melhorContinuacao(JOGO j, JOGADA casa) {
  CONTINUACAO continuacao{};
  if (!inserirJogada(&j, casa, j.jogadorAtual)) return continuacao;
  while (!jogoEncerrado(j)) {
    const JOGADA escolhida = buscaMaxMin(j, min, 0).j;
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

bool responderAPergunta(const char* pergunta, std::size_t tamanho, bool comDicionario,
                        char* resposta) {
  JOGO j;
  if (!lerJogoEmTexto(pergunta, tamanho, &j)) return false;
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
  *onde++ = '\n';
  *onde = '\0';
  return true;
}

}  // namespace velha
