// reader's command loop, or the page's helper, on arbitrary standard input, with a
// dictionary that names a rule for nearly every position that play can reach, some of them
// refused when played.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "dictionary/dicionario.h"
#include "fuzz/sessao.h"
#include "tests/arvore.h"

int VELHA_PROGRAM_MAIN(int argc, char** argv);  // the program's main.cpp, renamed

namespace velha {
namespace {

bool escrita[tamanhoDoDicionario];

// One rule per position, varied by its key: mostly a free cell, so that `b` after `b`
// plays whole games, and sometimes a missing rule, a letter or an occupied cell.
void guardarRegra(JOGO* j) {
  constexpr int variantes = 16;
  const int chave = indiceDeUmDadoTabuleiro(j);
  if (escrita[chave]) return;
  escrita[chave] = true;
  const LISTA_DE_JOGADAS livres = listaDeJogadas(j);
  const int quantidade = livres.jogadas[0];
  switch (chave % variantes) {
    case 0:
      return;
    case 1:
      gravarRegra(chave, 'z');
      return;
    case 2:
      for (int casa = 0; casa < totalDeCasas; ++casa) {
        if (j->A[casa] != casaVazia) {
          gravarRegra(chave, regraDaCasa(casa));
          return;
        }
      }
      [[fallthrough]];  // nothing occupied yet
    default:
      gravarRegra(chave, regraDaCasa(livres.jogadas[1 + chave % quantidade]));
  }
}

// A rule for every unfinished position of play, with either side first, listed as the
// dictionary file.
void escreverDicionario(std::FILE* arquivo) {
  inicializarRegras();
  for (const jogador primeiro : {j1, j2}) {
    percorrerJogoDesdeOInicio(primeiro, [](const JOGO& j) {
      if (jogoEncerrado(j)) return naoSeguir;
      JOGO posicao = j;
      guardarRegra(&posicao);
      return seguirTodas;
    });
  }
  imprimirDicionario(arquivo);
}

}  // namespace
}  // namespace velha

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  velha::prepararSessoes();
  std::FILE* arquivo = velha::criarNaPasta("dicionario.txt");
  if (arquivo == nullptr) std::abort();
  velha::escreverDicionario(arquivo);
  if (std::fclose(arquivo) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  velha::executarSessao(dados, tamanho, VELHA_PROGRAM_MAIN);
  return 0;
}
