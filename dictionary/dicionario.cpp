#include "dictionary/dicionario.h"

#include <algorithm>

char jogadas[tamanhoDoDicionario];

void inicializarJogadas() { std::fill(std::begin(jogadas), std::end(jogadas), semRegra); }
