// velha_install: what cmake --install and the uninstall target run (installer/instalacao.h).
//
//   velha_install install --records FOLDER --prefix PREFIX [--no-record] MODE PATH SOURCE...
//       installs each SOURCE at PATH below DESTDIR (from the environment) and PREFIX, with
//       the octal MODE; --no-record for a package's staging root. VELHA_INSTALL_OVERWRITE=1
//       writes over files the install did not write.
//   velha_install uninstall --records FOLDER [--prefix PREFIX]
//       removes what every recorded install wrote, or the one into PREFIX.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "installer/instalacao.h"

namespace velha::instalacao {
namespace {

int uso() {
  std::fprintf(stderr,
               "usage: velha_install install --records FOLDER --prefix PREFIX [--no-record] "
               "MODE PATH SOURCE...\n"
               "       velha_install uninstall --records FOLDER [--prefix PREFIX]\n");
  return 2;
}

int executar(int argc, char** argv) {
  if (argc < 2) return uso();
  const std::string comando = argv[1];
  std::string registros;
  std::string prefixo;
  bool comPrefixo = false;
  bool registrar = true;
  int i = 2;
  for (; i < argc; ++i) {
    const std::string opcao = argv[i];
    if (opcao == "--records" && i + 1 < argc) {
      registros = argv[++i];
    } else if (opcao == "--prefix" && i + 1 < argc) {
      prefixo = argv[++i];
      comPrefixo = true;
    } else if (opcao == "--no-record") {
      registrar = false;
    } else {
      break;
    }
  }
  if (registros.empty()) return uso();
  if (comando == "uninstall") {
    if (i != argc) return uso();
    switch (desinstalar(registros, comPrefixo ? &prefixo : nullptr, stdout, stderr)) {
      case desinstalacao::feita:
      case desinstalacao::nada:  // like a second dpkg -r: nothing is wrong
        return 0;
      case desinstalacao::algoFicou:
        return 1;
    }
  }
  if (comando != "install" || !comPrefixo || (argc - i) % 3 != 0) return uso();
  PEDIDO pedido;
  const char* destdir = std::getenv("DESTDIR");
  pedido.raiz = std::string(destdir != nullptr ? destdir : "") + prefixo;
  pedido.registros = registros;
  pedido.registrar = registrar;
  const char* sobrescrever = std::getenv("VELHA_INSTALL_OVERWRITE");
  pedido.sobrescrever = sobrescrever != nullptr && std::strcmp(sobrescrever, "1") == 0;
  for (; i < argc; i += 3) {
    char* fim = nullptr;
    const unsigned long modo = std::strtoul(argv[i], &fim, 8);
    if (*argv[i] == '\0' || *fim != '\0' || modo > 0777) return uso();
    pedido.arquivos.push_back({argv[i + 2], argv[i + 1], static_cast<unsigned>(modo)});
  }
  return instalar(pedido, stdout, stderr) ? 0 : 1;
}

}  // namespace
}  // namespace velha::instalacao

int main(int argc, char** argv) { return velha::instalacao::executar(argc, argv); }
