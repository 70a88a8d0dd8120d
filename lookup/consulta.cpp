#include "lookup/consulta.h"

#include <cstdio>

#include "dictionary/dicionario.h"
#include "platform/sistema.h"

namespace velha {

CARGA_DO_DICIONARIO carregarArquivo(const char* caminho, bool soArquivoComum) {
  int descritor = soArquivoComum ? abrirSemEsperar(caminho) : abrirParaLer(caminho);
  // A file that cannot be opened is as unreadable as one whose reading fails.
  if (descritor < 0) return {carga::ilegivel, 0, erroDoSistema()};
  if (soArquivoComum && !eArquivoComum(descritor)) {
    fecharDescritor(descritor);
    return {carga::ilegivel, 0, naoEArquivoComum};
  }
  FONTE fonte;
  abrirFonte(&fonte, lerDoDescritor, &descritor, nullptr);
  const CARGA_DO_DICIONARIO lida = carregarDicionario(&fonte);
  fecharDescritor(descritor);
  return lida;
}

CARGA_DO_DICIONARIO leDicionario(const char* caminho, bool soArquivoComum) {
  const CARGA_DO_DICIONARIO lida = carregarArquivo(caminho, soArquivoComum);
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
  const char regra = regraDe(chave);
  if (regra == semRegra) {
    std::printf("Nao ha regra definida para o jogo atual: %d.\n", chave);
    return {jogadaSemRegra, chave};
  }
  return {casaDaRegra(regra), chave};
}

}  // namespace velha
