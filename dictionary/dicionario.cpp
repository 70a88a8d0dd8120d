#include "dictionary/dicionario.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

namespace velha {

char tabelaDeRegras[tamanhoDoDicionario];

void inicializarRegras() {
  std::fill(std::begin(tabelaDeRegras), std::end(tabelaDeRegras), semRegra);
}

int regrasGravadas() {
  return static_cast<int>(tamanhoDoDicionario - std::count(std::begin(tabelaDeRegras),
                                                           std::end(tabelaDeRegras), semRegra));
}

void imprimirDicionario(std::FILE* saida) {
  for (int chave = 0; chave < tamanhoDoDicionario; ++chave) {
    if (tabelaDeRegras[chave] != semRegra)
      std::fprintf(saida, "%d %c\n", chave, tabelaDeRegras[chave]);
  }
}

namespace {

// The source with the number of the line its next byte is on.
struct LEITOR {
  FONTE* fonte;
  long long linha = 1;  // wide enough that no file can overflow it

  void pularEspacos() { linha += velha::pularEspacos(fonte); }
};

CARGA_DO_DICIONARIO lerPares(LEITOR& leitor) {
  for (;;) {
    leitor.pularEspacos();
    if (espiarByte(leitor.fonte) == fimDaFonte) return {carga::carregada, 0, 0};
    const long long linhaDaChave = leitor.linha;
    // A key as "%d" reads it, refused unless it is a table index.
    int chave = 0;
    if (lerInteiro(leitor.fonte, &chave) != leitura::lida || !chaveNoDicionario(chave)) {
      return {carga::invalida, linhaDaChave, 0};
    }
    leitor.pularEspacos();
    const int regra = lerByte(leitor.fonte);
    if (regra == fimDaFonte) return {carga::invalida, linhaDaChave, 0};
    gravarRegra(chave, static_cast<char>(regra));
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

// UTF-16 without a mark: a first line (as far as the bytes at hand hold it) whose every
// other byte is zero, and only those, in either byte order.
bool semMarcaEmUtf16(const unsigned char* inicio, const unsigned char* fim) {
  const unsigned char* fimDaLinha = std::find(inicio, fim, '\n');
  const auto pares = (fimDaLinha - inicio) / 2;
  if (pares == 0) return false;
  bool zerosNosPares = true;
  bool zerosNosImpares = true;
  for (std::ptrdiff_t i = 0; i < pares; ++i) {
    const bool parZero = inicio[2 * i] == 0;
    const bool imparZero = inicio[2 * i + 1] == 0;
    zerosNosPares = zerosNosPares && parZero && !imparZero;
    zerosNosImpares = zerosNosImpares && imparZero && !parZero;
  }
  return zerosNosPares || zerosNosImpares;
}

}  // namespace

CARGA_DO_DICIONARIO carregarDicionario(FONTE* fonte) {
  inicializarRegras();
  LEITOR leitor{fonte};
  // No mark's first byte can begin a dictionary, so a file that begins with one is
  // invalid on line 1 whatever follows; the mark only names the reason.
  CARGA_DO_DICIONARIO lida{carga::invalida, 1, 0};
  if (const int primeiro = espiarByte(fonte);
      primeiro == 0xEF || primeiro == 0xFF || primeiro == 0xFE) {
    lida.marca = marcaNoInicio(fonte);
  } else {
    const BYTES_A_MAO aMao = bytesAMao(*fonte);
    const bool utf16 = semMarcaEmUtf16(aMao.inicio, aMao.fim);
    lida = lerPares(leitor);
    if (utf16 && lida.resultado == carga::invalida) lida.marca = marcaDeCodificacao::utf16;
  }
  // A read error looks like the end of the bytes to the parser, wherever it came.
  if (estadoDe(*fonte) == estadoDaFonte::leituraFalhou) return {carga::ilegivel, 0, erroDe(*fonte)};
  return lida;
}
}  // namespace velha
