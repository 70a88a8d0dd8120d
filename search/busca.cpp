#include "search/busca.h"

namespace velha {
namespace {

struct PoliticaDaBusca {
  static constexpr int baseDaVitoria = baseDaBusca;
  static void escolhaDoMin(JOGO*, JOGADA) {}
};

}  // namespace

JOGADA_VALOR buscaMaxMin(JOGO j, opcao op, int nivelAtual) {
  return buscarExaustivamente<PoliticaDaBusca>(j, op, nivelAtual);
}

}  // namespace velha
