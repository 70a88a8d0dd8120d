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

// The byte-order marks of UTF-8 (Notepad's "UTF-8 with BOM") and of UTF-16 (PowerShell 5's
// redirection), as the file's first bytes.
marcaDeCodificacao marcaNoInicio(FONTE* fonte) {
  const int primeiro = lerByte(fonte);
  const int segundo = lerByte(fonte);
  if ((primeiro == 0xFF && segundo == 0xFE) || (primeiro == 0xFE && segundo == 0xFF)) {
    return marcaDeCodificacao::utf16;
  }
  if (primeiro == 0xEF && segundo == 0xBB && lerByte(fonte) == 0xBF) {
    return marcaDeCodificacao::utf8;
  }
  return marcaDeCodificacao::nenhuma;
}

}  // namespace

CARGA_DO_DICIONARIO carregarDicionario(FONTE* fonte) {
  LEITOR leitor{fonte};
  // No mark's first byte can begin a dictionary, so a file that begins with one is
  // invalid on line 1 whatever follows; the mark only names the reason.
  CARGA_DO_DICIONARIO lida{carga::invalida, 1, 0};
  if (const int primeiro = espiarByte(fonte);
      primeiro == 0xEF || primeiro == 0xFF || primeiro == 0xFE) {
    lida.marca = marcaNoInicio(fonte);
  } else {
    lida = lerPares(leitor);
  }
  // A read error looks like the end of the bytes to the parser, wherever it came.
  if (fonte->estado == estadoDaFonte::leituraFalhou) return {carga::ilegivel, 0, fonte->erro};
  return lida;
}

namespace {

CARGA_DO_DICIONARIO abrirECarregar(const char* caminho) {
  const int descritor = abrirParaLer(caminho);
  // A file that cannot be opened is as unreadable as one whose reading fails.
  if (descritor < 0) return {carga::ilegivel, 0, erroDoSistema()};
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
      escreverTexto(stdout, "Arquivo de jogadas '");
      escreverTexto(stdout, caminho);
      std::printf("' invalido na linha %lld.\n", lida.linhaInvalida);
      break;
    case carga::ilegivel:
      escreverTexto(stdout, "Nao foi possivel abrir o arquivo de jogadas '");
      escreverTexto(stdout, caminho);
      escreverTexto(stdout, "'.\n");
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
