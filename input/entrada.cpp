#include "input/entrada.h"

#include <climits>
#include <cstring>

#include "platform/sistema.h"

namespace velha {

void abrirFonte(FONTE* fonte, LEITOR_DE_BLOCOS lerBloco, void* origem, std::FILE* saidaAEsvaziar) {
  fonte->proximo = fonte->fim = nullptr;
  fonte->lerBloco = lerBloco;
  fonte->origem = origem;
  fonte->saidaAEsvaziar = saidaAEsvaziar;
  fonte->estado = estadoDaFonte::lendo;
  fonte->erro = 0;
}

long lerDoDescritor(void* descritor, unsigned char* destino, std::size_t tamanho) {
  return lerDoSistema(*static_cast<const int*>(descritor), destino, tamanho);
}

long lerDaMemoria(void* memoria, unsigned char* destino, std::size_t tamanho) {
  auto* m = static_cast<MEMORIA*>(memoria);
  const std::size_t entregues = tamanho < m->restantes ? tamanho : m->restantes;
  std::memcpy(destino, m->bytes, entregues);
  m->bytes += entregues;
  m->restantes -= entregues;
  return static_cast<long>(entregues);
}

estadoDaFonte estadoDe(const FONTE& fonte) { return fonte.estado; }

int erroDe(const FONTE& fonte) { return fonte.erro; }

namespace {

int falhar(FONTE* fonte, estadoDaFonte estado) {
  fonte->estado = estado;
  fonte->erro = erroDoSistema();
  return fimDaFonte;
}

}  // namespace

bool saidaIntacta(FONTE* fonte) {
  if (fonte->estado == estadoDaFonte::saidaFalhou) return false;
  if (fonte->saidaAEsvaziar == nullptr || std::ferror(fonte->saidaAEsvaziar) == 0) return true;
  falhar(fonte, estadoDaFonte::saidaFalhou);  // the error is still that of the failed write
  return false;
}

bool esvaziarSaida(FONTE* fonte) {
  if (fonte->saidaAEsvaziar != nullptr) std::fflush(fonte->saidaAEsvaziar);
  return saidaIntacta(fonte);
}

int lerBlocoSeguinte(FONTE* fonte) {
  if (fonte->estado != estadoDaFonte::lendo) return fimDaFonte;
  if (!esvaziarSaida(fonte)) return fimDaFonte;
  const long lidos = fonte->lerBloco(fonte->origem, fonte->bloco, sizeof fonte->bloco);
  if (lidos < 0) return falhar(fonte, estadoDaFonte::leituraFalhou);
  if (lidos == 0) {
    fonte->estado = estadoDaFonte::terminada;
    return fimDaFonte;
  }
  fonte->proximo = fonte->bloco;
  fonte->fim = fonte->bloco + lidos;
  return *fonte->proximo++;
}

bool lerComando(FONTE* fonte, char* comando) {
  if (!saidaIntacta(fonte)) return false;
  const int c = lerByte(fonte);
  if (c == fimDaFonte) return false;
  *comando = static_cast<char>(c);
  return true;
}

long long pularEspacos(FONTE* fonte) {
  long long linhas = 0;
  for (int c = lerByte(fonte);; c = lerByte(fonte)) {
    if (!espacoEmBranco(c)) {
      devolverByte(fonte, c);
      return linhas;
    }
    if (c == '\n') ++linhas;
  }
}

bool descartarLinha(FONTE* fonte, char ultimoLido) {
  while (ultimoLido != '\n') {
    if (!lerComando(fonte, &ultimoLido)) return false;
  }
  return true;
}

namespace {

constexpr bool digito(int c) { return c >= '0' && c <= '9'; }

// c, the byte just read, is left unread.
leitura recusar(FONTE* fonte, int c) {
  devolverByte(fonte, c);
  return leitura::invalida;
}

}  // namespace

leitura lerInteiro(FONTE* fonte, int* valor) {
  pularEspacos(fonte);
  int c = lerByte(fonte);
  if (c == fimDaFonte) return leitura::fimDaEntrada;

  const bool negativo = c == '-';
  if (c == '-' || c == '+') c = lerByte(fonte);
  if (!digito(c)) return recusar(fonte, c);

  // Accumulated as a negative number, whose range holds INT_MIN as well.
  int acumulado = 0;
  for (; digito(c); c = lerByte(fonte)) {
    const int algarismo = c - '0';
    if (acumulado < (INT_MIN + algarismo) / 10) return recusar(fonte, c);
    acumulado = acumulado * 10 - algarismo;
  }
  if (!negativo && acumulado == INT_MIN) return recusar(fonte, c);
  devolverByte(fonte, c);
  *valor = negativo ? acumulado : -acumulado;
  return leitura::lida;
}

leitura lerPosicao(FONTE* fonte, int* valor) {
  const leitura lida = lerInteiro(fonte, valor);
  if (lida == leitura::invalida) {
    int c = lerByte(fonte);
    while (c != '\n' && c != fimDaFonte) c = lerByte(fonte);
    devolverByte(fonte, c);
  }
  return lida;
}

namespace {

int descritorDaEntradaPadrao = 0;
FONTE entradaPadrao;

}  // namespace

void abrirEntradaDosComandos() {
  abrirFonte(&entradaPadrao, lerDoDescritor, &descritorDaEntradaPadrao, stdout);
}

FONTE* entradaDosComandos() { return &entradaPadrao; }

}  // namespace velha
