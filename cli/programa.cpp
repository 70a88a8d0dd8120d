#include "cli/programa.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "input/entrada.h"
#include "platform/sistema.h"

namespace velha {
namespace {

bool eh(const char* argumento, const char* opcao) { return std::strcmp(argumento, opcao) == 0; }

int recusar(const PROGRAMA& programa, const char* comoFoi, const char* argumento) {
  std::fprintf(stderr, "%s: %s argument '%s'; see '%s --help'\n", programa.nome, comoFoi, argumento,
               programa.nome);
  return statusDeUsoErrado;
}

const char* iniciadoComo = "";

int mostrarAjudaOuVersao(const PROGRAMA& programa, bool ajuda) {
  if (ajuda) {
    std::fputs(programa.uso, stdout);
    for (const COMANDO& comando : programa.comandos) {
      const char* linha = comando.oQueFaz;
      std::printf("  %-6s ", comando.forma);
      for (const char* fim = std::strchr(linha, '\n'); fim != nullptr;
           linha = fim + 1, fim = std::strchr(linha, '\n')) {
        std::printf("%.*s\n         ", static_cast<int>(fim - linha), linha);
      }
      std::printf("%s\n", linha);
    }
    std::fputs(programa.depoisDosComandos, stdout);
    if (programa.depoisDoUso != nullptr) programa.depoisDoUso();
  } else {
    std::printf("%s (%s) %s\n", programa.nome, VELHA_PACOTE, VELHA_VERSAO);
  }
  if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return statusNormal;
  explicarFalha(programa, "standard output", erroDoSistema());
  return statusDeFalha;
}

}  // namespace

std::optional<int> iniciarPrograma(int argc, char** argv, const PROGRAMA& programa,
                                   const char** operando, bool* porQue) {
  usarFluxosBinarios();
  abrirEntradaDosComandos();
  argv = argumentosDoPrograma(&argc, argv);
  if (argc > 0 && argv[0] != nullptr) iniciadoComo = argv[0];
  if (operando != nullptr) *operando = nullptr;
  if (porQue != nullptr) *porQue = false;
  if (argc <= 1) return std::nullopt;

  const bool ajuda = eh(argv[1], "--help");
  if (ajuda || eh(argv[1], "--version")) {
    if (argc == 2) return mostrarAjudaOuVersao(programa, ajuda);
    return recusar(programa, "unknown", argv[2]);  // either option stands alone
  }
  int i = 1;
  for (; porQue != nullptr && i < argc && eh(argv[i], "--why"); ++i) *porQue = true;
  const int primeiro = i;
  if (i == argc) return std::nullopt;
  if (operando != nullptr && eh(argv[i], "--")) ++i;
  if (i == argc) return std::nullopt;
  const bool pareceOpcao = i == primeiro && argv[i][0] == '-';
  if (operando == nullptr || pareceOpcao) return recusar(programa, "unknown", argv[i]);
  if (i + 1 < argc) return recusar(programa, "unexpected", argv[i + 1]);
  *operando = argv[i];
  return std::nullopt;
}

const char* comoFoiIniciado() { return iniciadoComo; }

void explicar(const PROGRAMA& programa, const char* oQue, const char* motivo) {
  std::fflush(stdout);
  for (const char* parte : {programa.nome, ": ", oQue, ": ", motivo, "\n"}) {
    escreverTexto(stderr, parte);
  }
}

void explicarFalha(const PROGRAMA& programa, const char* oQue, int erro) {
  explicar(programa, oQue, erro != 0 ? descreverErro(erro) : std::strerror(EIO));
}

int statusAoEncerrar(const PROGRAMA& programa) {
  // The input source flushes standard output before each wait, and so is what knows
  // whether a reply was lost (input/entrada.h); the last flush is where one still in the
  // buffer is found lost.
  FONTE* entrada = entradaDosComandos();
  esvaziarSaida(entrada);
  switch (estadoDe(*entrada)) {
    case estadoDaFonte::saidaFalhou:
      explicarFalha(programa, "standard output", erroDe(*entrada));
      return statusDeFalha;
    case estadoDaFonte::leituraFalhou:
      explicarFalha(programa, "standard input", erroDe(*entrada));
      return statusDeFalha;
    case estadoDaFonte::lendo:
    case estadoDaFonte::terminada:
      return statusNormal;
  }
  return statusNormal;
}

}  // namespace velha
