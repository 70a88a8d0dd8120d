#include "fuzz/sessao.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace velha {
namespace {

constexpr char arquivoDeEntrada[] = "entrada";
char pasta[] = "/tmp/velha-fuzz-XXXXXX";
int pastaAnterior = -1;

[[noreturn]] void abortar(const char* motivo) {
  std::fprintf(stderr, "%s\n", motivo);
  std::abort();
}

std::string naPasta(const char* nome) { return std::string(pasta) + "/" + nome; }

void removerPasta() {
  // Only the input and the files made with criarNaPasta are left there.
  std::remove(naPasta(arquivoDeEntrada).c_str());
  std::remove(naPasta("dicionario.txt").c_str());
  rmdir(pasta);
}

}  // namespace

void prepararSessoes() {
  if (std::freopen("/dev/null", "w", stdout) == nullptr) abortar("/dev/null");
  if (mkdtemp(pasta) == nullptr) abortar("pasta temporaria");
  pastaAnterior = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (pastaAnterior < 0) abortar("pasta de trabalho");
  std::atexit(removerPasta);
}

std::FILE* criarNaPasta(const char* nome) { return std::fopen(naPasta(nome).c_str(), "w"); }

void executarSessao(const std::uint8_t* dados, std::size_t tamanho,
                    int (*principal)(int argc, char** argv)) {
  const std::string entrada = naPasta(arquivoDeEntrada);
  std::FILE* arquivo = std::fopen(entrada.c_str(), "wb");
  if (arquivo == nullptr || std::fwrite(dados, 1, tamanho, arquivo) != tamanho ||
      std::fclose(arquivo) != 0) {
    abortar("entrada");
  }
  if (std::freopen(entrada.c_str(), "rb", stdin) == nullptr) abortar("stdin");
  if (chdir(pasta) != 0) abortar("chdir");
  char nome[] = "velha";  // with no argument, the program plays
  char* argv[] = {nome, nullptr};
  const int status = principal(1, argv);
  if (fchdir(pastaAnterior) != 0) abortar("fchdir");
  if (status != 0) abortar("status diferente de 0 sem nenhuma falha de entrada ou saida");
}

}  // namespace velha
