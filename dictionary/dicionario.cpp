#include "dictionary/dicionario.h"

#include <algorithm>

namespace velha {

char jogadas[tamanhoDoDicionario];

void inicializarJogadas() { std::fill(std::begin(jogadas), std::end(jogadas), semRegra); }

}  // namespace velha
