// What each free cell leads to, as the page and --why tell it: the verdicts, the best
// cell, the best play after each cell, and the page's question and answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "dictionary/dicionario.h"
#include "search/busca.h"
#include "tests/minimax_de_referencia.h"
#include "tests/tabuleiro.h"
#include "verdicts/vereditos.h"

namespace velha {
namespace {

// The page's question and answer: the verdicts of the free cells, the best, and the
// dictionary's rule; any other line is no question.
TEST(Vereditos, RespondemAPerguntaDaPagina) {
  inicializarRegras();
  gravarRegra(chaveDoTabuleiroVazio, regraDaCasa(4));
  JOGO xNoCentro = tabuleiro("....X....", j2);
  gravarRegra(indiceDeUmDadoTabuleiro(&xNoCentro), 'x');  // a byte that names no cell
  const struct {
    const char* pergunta;
    bool comDicionario;
    const char* resposta;  // nullptr: no question
  } casos[] = {
      {"OO.XX.... X", false, "OO.XX.... X - - v2 - - v0 p1 p1 p1 5 - - - 56 - - - 2 2 2"},
      {"......... X", true,
       "......... X e e e e e e e e e 0 4 41263578 03482675 40173586 01482675 01735268 20314678 "
       "40351782 10624358 40176253"},
      {"....X.... O", true,
       "....X.... O e p5 e p5 - p5 e p5 e 0 n 1735268 08325 0853176 08127 - 08216 0871235 08612 "
       "0253176"},
      // Over: nothing to play, nothing to follow.
      {"XXX...OO. O", true, "XXX...OO. O - - - - - - - - - - n - - - - - - - - -"},
      // No game reaches these: nine X, X to move after its own move or after its own win.
      {"XXXXXXXXX X", false, nullptr},
      {"XX....... X", false, nullptr},
      {"XXX...OO. X", false, nullptr},
      {"OO.XX.... x", false, nullptr},
      {"OO.XX....  X", false, nullptr},
      {"OO.XX.... X ", false, nullptr},
      {"OO-XX.... X", false, nullptr},
      {"", false, nullptr},
  };
  for (const auto& caso : casos) {
    char resposta[tamanhoDaResposta];
    const bool respondida =
        responderAPergunta(caso.pergunta, std::strlen(caso.pergunta), caso.comDicionario, resposta);
    EXPECT_EQ(respondida, caso.resposta != nullptr) << caso.pergunta;
    if (respondida && caso.resposta != nullptr) {
      EXPECT_STREQ(resposta, caso.resposta);
    }
  }
}

// After each free cell of every position play reaches, the best continuation: each move
// one the reference scores best for the side then to move, up to the end of the game,
// which ends as the cell's verdict says, after as many moves as it counts.
TEST(Vereditos, ContinuacaoEJogoPerfeitoAteOFimDoVeredito) {
  MinimaxDeReferencia referencia;
  long verificadas = 0;
  visitarCadaChave([&](const JOGO& j) {
    const VEREDITOS vereditos = vereditosDasCasas(j);
    // The verdicts kept by position are the search's, for the position and for it with its
    // colours swapped, which shares its key.
    JOGO trocado = j;
    for (int& casa : trocado.A) casa = -casa;
    trocado.jogadorAtual = outroJogador(j.jogadorAtual);
    for (const JOGO& posicao : {j, trocado}) {
      const VEREDITOS buscados = buscarVereditos(posicao);
      const VEREDITOS guardados = vereditosDasCasas(posicao);
      EXPECT_EQ(guardados.melhor, buscados.melhor);
      for (int casa = 0; casa < totalDeCasas; ++casa) {
        EXPECT_EQ(guardados.livre[casa], buscados.livre[casa]);
        EXPECT_EQ(guardados.previsao[casa].fim, buscados.previsao[casa].fim);
        EXPECT_EQ(guardados.previsao[casa].fimEstimado, buscados.previsao[casa].fimEstimado);
      }
    }
    // The cell marked best is the one `b` plays (or none, in a finished game).
    EXPECT_EQ(vereditos.melhor, buscaMaxMin(j, min, 0).j);
    for (JOGADA casa = 0; casa < totalDeCasas; ++casa) {
      if (!vereditos.livre[casa]) continue;
      const CONTINUACAO continuacao = melhorContinuacao(j, casa);
      JOGO jogo = j;
      inserirJogada(&jogo, casa, jogo.jogadorAtual);
      for (int i = 0; i < continuacao.quantidade; ++i) {
        const LISTA_DE_JOGADAS lista = listaDeJogadas(&jogo);
        int melhor = 1000;
        for (int k = 1; k <= lista.jogadas[0]; ++k) {
          melhor = std::min(melhor, referencia.nota(jogo, lista.jogadas[k], min, 1));
        }
        const JOGADA jogada = continuacao.jogadas[i];
        EXPECT_EQ(referencia.nota(jogo, jogada, min, 1), melhor)
            << "cell " << casa << ", move " << i;
        EXPECT_TRUE(inserirJogada(&jogo, jogada, jogo.jogadorAtual))
            << "cell " << casa << ", move " << i;
      }
      jogador vitorioso = empate;
      EXPECT_TRUE(fimDeJogo(jogo, &vitorioso)) << "the line stops before the end, cell " << casa;
      const PREVISAO previsao = vereditos.previsao[casa];
      const bool vence = previsao.fim == veredito::ganhou || previsao.fim == veredito::ganhara;
      EXPECT_EQ(vitorioso, previsao.fim == veredito::empate ? empate
                           : vence                          ? j.jogadorAtual
                                                            : outroJogador(j.jogadorAtual));
      if (previsao.fim != veredito::empate) {
        EXPECT_EQ(continuacao.quantidade, previsao.fimEstimado) << "cell " << casa;
      }
      ++verificadas;
    }
  });
  EXPECT_GT(verificadas, 0);
  // Nothing follows a cell that cannot be played.
  EXPECT_EQ(melhorContinuacao(tabuleiro("X........", j2), 0).quantidade, 0);
}

}  // namespace
}  // namespace velha
