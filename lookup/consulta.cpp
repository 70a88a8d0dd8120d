#include "lookup/consulta.h"

#include <cerrno>
#include <cstdio>

#include "dictionary/dicionario.h"
#include "platform/sistema.h"

namespace velha {
namespace {

// The source with the number of the line its next byte is on.
struct LEITOR {
  FONTE* fonte;
  long long linha = 1;  // wide enough that no file can overflow it

  void pularEspacos() {
    for (int c = espiarByte(fonte); espacoEmBranco(c); c = espiarByte(fonte)) {
      if (lerByte(fonte) == '\n') ++linha;
    }
  }
};

CARGA_DO_DICIONARIO lerPares(LEITOR& leitor) {
  for (;;) {
    leitor.pularEspacos();
    if (espiarByte(leitor.fonte) == fimDaFonte) return {carga::carregada, 0, 0};
    const long long linhaDaChave = leitor.linha;
    // A key as "%d" reads it, refused unless it is a table index.
    int chave = 0;
    if (lerInteiro(leitor.fonte, &chave) != LEITURA::lida || !chaveNoDicionario(chave)) {
      return {carga::invalida, linhaDaChave, 0};
    }
    leitor.pularEspacos();
    const int regra = lerByte(leitor.fonte);
    if (regra == fimDaFonte) return {carga::invalida, linhaDaChave, 0};
    jogadas[chave] = static_cast<char>(regra);
  }
}

}  // namespace

CARGA_DO_DICIONARIO carregarDicionario(FONTE* fonte) {
  LEITOR leitor{fonte};
  const CARGA_DO_DICIONARIO lida = lerPares(leitor);
  // A read error looks like the end of the bytes to the parser, wherever it came.
  if (fonte->estado == estadoDaFonte::leituraFalhou) return {carga::ilegivel, 0, fonte->erro};
  return lida;
}

namespace {

CARGA_DO_DICIONARIO abrirECarregar(const char* caminho) {
  const int descritor = abrirParaLer(caminho);
  // A file that cannot be opened is as unreadable as one whose reading fails.
  if (descritor < 0) return {carga::ilegivel, 0, errno};
  FONTE fonte;
  abrirFonte(&fonte, descritor, nullptr);
  const CARGA_DO_DICIONARIO lida = carregarDicionario(&fonte);
  fecharDescritor(descritor);
  return lida;
}

}  // namespace

CARGA_DO_DICIONARIO leDicionario(const char* caminho) {
  const CARGA_DO_DICIONARIO lida = abrirECarregar(caminho);
  switch (lida.resultado) {
    case carga::carregada:
      break;
    case carga::invalida:
      std::printf("Arquivo de jogadas '%s' invalido na linha %lld.\n", caminho, lida.linhaInvalida);
      break;
    case carga::ilegivel:
      std::printf("Nao foi possivel abrir o arquivo de jogadas '%s'.\n", caminho);
      break;
  }
  return lida;
}

JOGADA_VALOR jogarDic(JOGO* j) {
  const int chave = indiceDeUmDadoTabuleiro(j);
  if (!chaveNoDicionario(chave) || jogadas[chave] == semRegra) {
    std::printf("Nao ha regra definida para o jogo atual: %d.\n", chave);
    return {jogadaSemRegra, -chave};  // keys are positive, so this cannot overflow
  }
  // Read as a signed char whatever the platform's plain char, so that a stored rule that
  // is no digit names the same cell everywhere (0xC8 is -104, as on x86).
  return {static_cast<signed char>(jogadas[chave]) - '0', chave};
}

}  // namespace velha
