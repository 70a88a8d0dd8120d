#include "verdicts/arvore.h"

#include <cstdio>

#include "search/busca.h"
#include "search/explorador.h"
#include "verdicts/vereditos.h"

namespace velha {

namespace {

// The order letter that may follow a question's letter, and the order it names.
struct LETRA_DA_ORDEM {
  char letra;
  ordem emOrdem;
};
constexpr LETRA_DA_ORDEM letrasDasOrdens[] = {{'c', ordem::centro}, {'m', ordem::melhor}};

// Reads an order letter at *onde, if there is one there, moving past it.
ordem lerOrdem(const char* pergunta, std::size_t tamanho, std::size_t* onde) {
  for (const LETRA_DA_ORDEM& letra : letrasDasOrdens) {
    if (*onde < tamanho && pergunta[*onde] == letra.letra) {
      ++*onde;
      return letra.emOrdem;
    }
  }
  return ordem::seeker;
}

}  // namespace

bool responderAArvore(const char* pergunta, std::size_t tamanho, char* resposta) {
  JOGO raiz;
  if (tamanho < tamanhoDoJogoEmTexto + 2 || tamanho > tamanhoDaPerguntaDaArvore ||
      pergunta[tamanhoDoJogoEmTexto] != ' ' || pergunta[tamanhoDoJogoEmTexto + 1] != 'a' ||
      !lerJogoEmTexto(pergunta, tamanhoDoJogoEmTexto, &raiz) || !algumJogoAlcanca(raiz)) {
    return false;
  }
  std::size_t inicioDoCaminho = tamanhoDoJogoEmTexto + 2;
  const ordem emOrdem = lerOrdem(pergunta, tamanho, &inicioDoCaminho);
  if (tamanho - inicioDoCaminho > std::size_t{totalDeCasas}) return false;
  JOGADA caminho[totalDeCasas];
  const int quantidade = static_cast<int>(tamanho - inicioDoCaminho);
  JOGO j = raiz;
  for (int i = 0; i < quantidade; ++i) {
    const char c = pergunta[inicioDoCaminho + static_cast<std::size_t>(i)];
    caminho[i] = c - '0';
    if (c < '0' || c > '8' || jogoEncerrado(j) || !inserirJogada(&j, caminho[i], j.jogadorAtual)) {
      return false;
    }
  }
  const EXPLORACAO exploracao = explorar(raiz, caminho, quantidade, emOrdem);
  char* onde = resposta;
  const char* fim = resposta + tamanhoDaRespostaDaArvore;
  onde += std::snprintf(onde, static_cast<std::size_t>(fim - onde), "%.*s %d ",
                        static_cast<int>(tamanho), pergunta, exploracao.valor);
  if (exploracao.escolhida == semCandidato) {
    *onde++ = '-';
  } else {
    *onde++ = static_cast<char>('0' + exploracao.escolhida);
  }
  onde += std::snprintf(onde, static_cast<std::size_t>(fim - onde), " %ld %ld", exploracao.jogadas,
                        exploracao.jogadasComAlfaBeta);
  for (int i = 0; i < exploracao.quantidade; ++i) {
    const RAMO& ramo = exploracao.ramos[i];
    onde += std::snprintf(onde, static_cast<std::size_t>(fim - onde), " %d:%d:%ld:%ld:%c",
                          ramo.jogada, ramo.valor, ramo.abaixo, ramo.abaixoComAlfaBeta,
                          ramo.cortadoPelaAlfaBeta ? 'c' : '-');
  }
  return true;
}

namespace {

// alfa and beta as the step mode shows them, their starting infinities as signs.
int escreverLimite(char* onde, std::size_t cabe, int limite) {
  if (limite == sentinela(max)) return std::snprintf(onde, cabe, "-");
  if (limite == sentinela(min)) return std::snprintf(onde, cabe, "+");
  return std::snprintf(onde, cabe, "%d", limite);
}

}  // namespace

bool responderAoRastro(const char* pergunta, std::size_t tamanho, char* resposta) {
  JOGO raiz;
  if (tamanho < tamanhoDoJogoEmTexto + 2 || tamanho > tamanhoDaPerguntaDoRastro ||
      pergunta[tamanhoDoJogoEmTexto] != ' ' ||
      (pergunta[tamanhoDoJogoEmTexto + 1] != 'p' && pergunta[tamanhoDoJogoEmTexto + 1] != 'q') ||
      !lerJogoEmTexto(pergunta, tamanhoDoJogoEmTexto, &raiz) || !algumJogoAlcanca(raiz) ||
      casasLivres(raiz) > livresParaRastrear) {
    return false;
  }
  const bool comAlfaBeta = pergunta[tamanhoDoJogoEmTexto + 1] == 'q';
  std::size_t depois = tamanhoDoJogoEmTexto + 2;
  const ordem emOrdem = comAlfaBeta ? lerOrdem(pergunta, tamanho, &depois) : ordem::seeker;
  if (depois != tamanho) return false;
  PASSO passos[maximoDePassos];
  const int quantos =
      comAlfaBeta ? rastrearAlfaBeta(raiz, passos, emOrdem) : rastrearBusca(raiz, passos);
  char* onde = resposta;
  const char* fim = resposta + tamanhoDaRespostaDoRastro;
  onde += std::snprintf(onde, static_cast<std::size_t>(fim - onde), "%.*s",
                        static_cast<int>(tamanho), pergunta);
  for (int i = 0; i < quantos; ++i) {
    const PASSO& passo = passos[i];
    onde += std::snprintf(onde, static_cast<std::size_t>(fim - onde), " %d:%d:%d", passo.nivel,
                          passo.jogada, passo.valor);
    if (!comAlfaBeta) continue;
    *onde++ = ':';
    onde += escreverLimite(onde, static_cast<std::size_t>(fim - onde), passo.alfa);
    *onde++ = ':';
    onde += escreverLimite(onde, static_cast<std::size_t>(fim - onde), passo.beta);
    onde +=
        std::snprintf(onde, static_cast<std::size_t>(fim - onde), ":%c", passo.corta ? 'c' : '-');
  }
  return true;
}

}  // namespace velha
