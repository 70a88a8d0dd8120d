// why: the page's "Show why", a helper it runs beside the program being played, which
// answers each question line on standard input ("CELLS SIDE", verdicts/vereditos.h; the
// search explorer's "CELLS SIDE aPATH" and its step mode's "CELLS SIDE p" or "q",
// verdicts/arvore.h) with one line on standard output, and an unreadable question with
// "?". It plays from the dictionary file reader reads by default when the page gives it
// one (the file reader was given), to name the dictionary's rule.
#include <algorithm>
#include <cstdio>

#include "cli/programa.h"
#include "input/entrada.h"
#include "lookup/consulta.h"
#include "platform/sistema.h"
#include "verdicts/arvore.h"
#include "verdicts/vereditos.h"

namespace velha {
namespace {

// Without a dictionary (seeker's), the table stays empty and the answers name no rule.
bool carregarODicionario() {
  inicializarRegras();
  return carregarArquivo(nomeDoDicionario, true).resultado == carga::carregada;
}

constexpr PROGRAMA servico{"why", "", {}, ""};

// Ends as the programs do: 1, saying why on standard error, when an answer was lost.
int responderAteOFim() {
  usarFluxosBinarios();  // one line end, "\n", on every system
  const bool comDicionario = carregarODicionario();
  abrirEntradaDosComandos();
  FONTE* entrada = entradaDosComandos();
  char pergunta[tamanhoDaPerguntaDaArvore + 1];
  static_assert(tamanhoDaPerguntaDaArvore >= tamanhoDaPergunta &&
                tamanhoDaPerguntaDaArvore >= tamanhoDaPerguntaDoRastro);
  // The longest answer is a step mode's, some 24 KB: kept out of the stack.
  static char
      resposta[std::max({tamanhoDaRespostaDaArvore, tamanhoDaResposta, tamanhoDaRespostaDoRastro})];
  for (;;) {
    std::size_t tamanho = 0;
    int c = lerByte(entrada);
    if (c == fimDaFonte) return statusAoEncerrar(servico);
    for (; c != fimDaFonte && c != '\n'; c = lerByte(entrada)) {
      // A longer line is no question: one byte past the longest tells it.
      if (tamanho < sizeof pergunta) pergunta[tamanho++] = static_cast<char>(c);
    }
    if (responderAPergunta(pergunta, tamanho, comDicionario, resposta) ||
        responderAArvore(pergunta, tamanho, resposta) ||
        responderAoRastro(pergunta, tamanho, resposta)) {
      std::printf("%s\n", resposta);
    } else {
      std::printf("?\n");
    }
  }
}

}  // namespace
}  // namespace velha

int main(int /*argc*/, char** /*argv*/) { return velha::responderAteOFim(); }
