// reader: tic-tac-toe at the console, with an automatic move taken from a move
// dictionary, "dicionario.txt" unless another file is named.
#include <cstdio>
#include <initializer_list>

#include "cli/programa.h"
#include "console/console.h"
#include "lookup/consulta.h"
#include "platform/sistema.h"
#include "verdicts/vereditos.h"

namespace velha {
namespace {

void imprimirOndeEstaODicionarioCompleto();

constexpr COMANDO comandosDoReader[] = {
    {"b", "play the dictionary's move for the side to move"},
    comandoJogar,
    comandoRecomecar,
    comandoAjuda,
    comandoSair,
};

constexpr PROGRAMA readerNaLinhaDeComando{
    "reader",
    "Usage: reader [--why] [[--] FILE]\n"
    "       reader --help | --version\n"
    "Play tic-tac-toe at the console. On request the program plays the move that a move\n"
    "dictionary holds for the current position.\n"
    "\n"
    "The dictionary is FILE, or else dicionario.txt in the working directory, read once at\n"
    "start; scribe writes one. A FILE that begins with '-' follows \"--\".\n"
    "\n"
    "With --why, each board of a game still being played is followed by what every free\n"
    "cell leads to, with both sides playing perfectly after it (\"Vereditos para ...\"),\n"
    "and which of them the dictionary holds.\n"
    "\n"
    "Commands are read from standard input, one letter each (the game speaks Portuguese):\n",
    comandosDoReader, "The board is printed at every line end. See reader(6).\n",
    imprimirOndeEstaODicionarioCompleto};

void imprimirOndeEstaODicionarioCompleto() {
  char caminho[tamanhoDeUmCaminho];
  char citado[tamanhoDeUmCaminho];
  if (acharDicionarioCompleto(caminho, sizeof caminho) &&
      shellsDoSistema().front().citar(caminho, citado, sizeof citado)) {
    escreverTexto(stdout, "\nThe complete dictionary, for both sides, is ");
    escreverTexto(stdout, citado);
    escreverTexto(stdout, ".\n");
  } else {
    std::printf("\nNo complete dictionary was found with this program.\n");
  }
}

// Said when reader is started without a file where there is no dicionario.txt: the
// complete dictionary, as a command that plays from it, for each of the system's shells
// that can be given one. The command names the program as it was started when that
// names a folder, else by the name the shell found it by on PATH.
void sugerirODicionarioCompleto() {
  char caminho[tamanhoDeUmCaminho];
  if (!acharDicionarioCompleto(caminho, sizeof caminho)) return;
  const char* programa =
      temPasta(comoFoiIniciado()) ? comoFoiIniciado() : readerNaLinhaDeComando.nome;
  for (const SHELL& shell : shellsDoSistema()) {
    char citadoOPrograma[tamanhoDeUmCaminho];
    char citadoOCaminho[tamanhoDeUmCaminho];
    if (!shell.citar(programa, citadoOPrograma, sizeof citadoOPrograma) ||
        !shell.citar(caminho, citadoOCaminho, sizeof citadoOCaminho)) {
      continue;
    }
    const bool nomeada = *shell.nome != '\0';
    for (const char* parte : {readerNaLinhaDeComando.nome, ": to play from the complete dictionary",
                              nomeada ? ", in " : "", shell.nome, ": ", shell.executar,
                              static_cast<const char*>(citadoOPrograma), " ",
                              static_cast<const char*>(citadoOCaminho), "\n"}) {
      escreverTexto(stderr, parte);
    }
  }
}

void ajuda() { imprimirAjuda("buscaNoDicionario"); }

JOGADA buscaDicionario(JOGO* j, jogador* jog) {
  std::printf("Busca Dicionario - ");
  const JOGADA_VALOR res = jogarDic(j);
  std::printf("melhor jogada: %d [indice buscado: %d]\n", res.j, res.v);
  return realizarJogada(j, jog, res.j) ? res.j : nenhumaJogada;
}

// Why the dictionary was not loaded, on standard error; the game's own message is out.
void explicarACarga(const char* caminho, CARGA_DO_DICIONARIO lida) {
  if (lida.resultado == carga::ilegivel && lida.erro == naoEArquivoComum) {
    explicar(readerNaLinhaDeComando, caminho, "not a regular file");
    return;
  }
  if (lida.resultado == carga::ilegivel) {
    explicarFalha(readerNaLinhaDeComando, caminho, lida.erro);
    return;
  }
  // A Windows editor's byte-order mark, named with how to save the file instead.
  constexpr const char* porMarca[] = {
      "",
      ": it begins with a UTF-8 byte-order mark; save it as plain text (UTF-8 without BOM)",
      (": it is UTF-16 text; save it as plain text "
       "(in PowerShell: ... | Out-File -Encoding ascii FILE)"),
  };
  char motivo[192];
  std::snprintf(motivo, sizeof motivo, "not a dictionary (line %lld)%s", lida.linhaInvalida,
                porMarca[static_cast<int>(lida.marca)]);
  explicar(readerNaLinhaDeComando, caminho, motivo);
}

void imprimirVereditos(const JOGO& j) {
  char linha[tamanhoDosVereditos];
  if (escreverVereditos(j, true, linha)) std::fputs(linha, stdout);
}

int reader(int argc, char** argv) {
  const char* arquivo = nullptr;
  bool porQue = false;
  if (const auto status = iniciarPrograma(argc, argv, readerNaLinhaDeComando, &arquivo, &porQue)) {
    return *status;
  }
  const char* caminho = arquivo != nullptr ? arquivo : nomeDoDicionario;
  if (const CARGA_DO_DICIONARIO lida = leDicionario(caminho, arquivo == nullptr);
      lida.resultado != carga::carregada) {
    explicarACarga(caminho, lida);
    if (arquivo == nullptr && lida.resultado == carga::ilegivel && faltaOArquivo(lida.erro)) {
      sugerirODicionarioCompleto();
    }
    return statusDeFalha;
  }
  return jogarNoConsole(readerNaLinhaDeComando,
                        {buscaDicionario, ajuda, porQue ? imprimirVereditos : nullptr});
}

}  // namespace
}  // namespace velha

int main(int argc, char** argv) { return velha::reader(argc, argv); }
