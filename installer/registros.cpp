#include "installer/registros.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "installer/arquivos.h"
#include "installer/sha256.h"

namespace velha::instalacao {
namespace {

constexpr char sufixoProvisorio[] = ".new";
constexpr char nomeDoCadeado[] = "lock";
constexpr char nomeDasRaizes[] = "roots";
// The name each record had in the build's records folder, before records moved into roots.
constexpr std::size_t tamanhoDoNomeAntigo = 64 + 4;
constexpr char sufixoAntigo[] = ".txt";

std::optional<std::string> lerTudo(int pasta, const std::string& nome) {
  DESCRITOR arquivo(
      openat(pasta, nome.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!arquivo.aberto()) return std::nullopt;
  return lerTexto(*arquivo);
}

// Writes texto whole under nome's provisional name in pasta, then renames it over nome;
// what lies at the provisional name is removed first when substituir. A copy that could not
// be finished (a full disk) is removed again.
int gravarTexto(int pasta, const std::string& nome, const std::string& texto, bool substituir) {
  const std::string provisorio = nome + sufixoProvisorio;
  if (substituir) unlinkat(pasta, provisorio.c_str(), 0);
  DESCRITOR arquivo(openat(pasta, provisorio.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
  if (!arquivo.aberto()) return errno;
  if (fchmod(*arquivo, 0644) != 0 ||
      !escreverTudo(*arquivo, reinterpret_cast<const unsigned char*>(texto.data()), texto.size()) ||
      fsync(*arquivo) != 0 || renameat(pasta, provisorio.c_str(), pasta, nome.c_str()) != 0) {
    const int erro = errno;
    unlinkat(pasta, provisorio.c_str(), 0);
    return erro;
  }
  return 0;
}

// Whether what lies at the record's provisional name in pasta is one a killed write left.
bool provisorioDeixado(int pasta, const std::string& provisorio) {
  if (examinar(pasta, provisorio).tipo != ACHADO::arquivo) return false;
  const auto texto = lerTudo(pasta, provisorio);
  return texto && pareceRegistro(*texto);
}

}  // namespace

std::string pastaDe(const std::string& caminho) {
  const std::size_t barra = caminho.rfind('/');
  return barra == std::string::npos ? "" : caminho.substr(0, barra);
}

std::string nomeDe(const std::string& caminho) { return caminho.substr(caminho.rfind('/') + 1); }

std::string abaixo(const std::string& raiz, const std::string& relativo) {
  return relativo.empty() ? raiz : (raiz == "/" ? "" : raiz) + "/" + relativo;
}

std::optional<std::string> relativoA(const std::string& raiz, const std::string& onde) {
  const std::string base = raiz == "/" ? "/" : raiz + "/";
  if (!onde.starts_with(base)) return std::nullopt;
  return onde.substr(base.size());
}

TRILHA aPartirDe(const PASTA& raiz) {
  TRILHA trilha;
  trilha.pastas.push_back({DESCRITOR(fcntl(*raiz.descritor, F_DUPFD_CLOEXEC, 0)), raiz.caminho});
  return trilha;
}

void descerPelosLinksDoRegistro(TRILHA* trilha, const std::string& relativo, const GUARDA& guarda,
                                const REGISTRO& registro) {
  auto registrado = [&](const std::string& onde, const std::string& hash) {
    const auto noRegistro = relativoA(registro.raiz, onde);
    return noRegistro &&
           std::any_of(registro.entradas.begin(), registro.entradas.end(), [&](const ENTRADA& e) {
             return e.tipo == tipoDeEntrada::link && e.caminho == *noRegistro &&
                    (hash.empty() || e.hash == hash);
           });
  };
  descer(
      trilha, relativo, guarda, [&](const std::string& onde) { return registrado(onde, ""); },
      [&](const std::string& onde, const std::string& real) {
        if (!registrado(onde, sha256(real))) throw RECUSA{onde, porque::linkMudou};
      });
}

void descerAnotandoLinks(TRILHA* trilha, const std::string& relativo, const GUARDA& guarda,
                         const std::string& raizReal, std::vector<ENTRADA>* links) {
  descer(
      trilha, relativo, guarda, [](const std::string&) { return true; },
      [&](const std::string& onde, const std::string& real) {
        if (const auto relativoDoLink = relativoA(raizReal, onde)) {
          const ENTRADA link{tipoDeEntrada::link, *relativoDoLink, sha256(real)};
          if (std::find(links->begin(), links->end(), link) == links->end()) {
            links->push_back(link);
          }
        }
      });
}

std::optional<REGISTRO> lerRegistroEm(const PASTA& pasta, const std::string& raiz,
                                      const GUARDA& guarda) {
  const std::string caminho = abaixo(pasta.caminho, nomeDoRegistro);
  DESCRITOR arquivo(openat(*pasta.descritor, nomeDoRegistro,
                           O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!arquivo.aberto() && errno == ENOENT) return std::nullopt;
  if (!arquivo.aberto() && errno == ELOOP) throw RECUSA{caminho, porque::link};
  if (!arquivo.aberto()) throw RECUSA{caminho, porque::sistema, motivoDoSistema(errno)};
  struct stat estado {};
  if (fstat(*arquivo, &estado) != 0) throw RECUSA{caminho, porque::sistema, motivoDoSistema(errno)};
  if (!S_ISREG(estado.st_mode)) throw RECUSA{caminho, porque::naoEArquivo};
  if (std::string quem = quemMaisPodeMudar(*arquivo, guarda); !quem.empty()) {
    throw RECUSA{caminho, porque::outroUsuario, quem};
  }
  const std::optional<std::string> texto = lerTexto(*arquivo);
  if (!texto) throw RECUSA{caminho, porque::sistema, motivoDoSistema(errno)};
  REGISTRO registro;
  if (std::string motivo = lerRegistro(*texto, &registro); !motivo.empty()) {
    throw RECUSA{caminho, porque::registroInvalido, motivo};
  }
  if (registro.raiz != raiz) throw RECUSA{caminho, porque::registroDeOutraRaiz, registro.raiz};
  return registro;
}

void gravarRegistroEm(const PASTA& pasta, const REGISTRO& registro) {
  const std::string provisorio = std::string(nomeDoRegistro) + sufixoProvisorio;
  const bool substituir = provisorioDeixado(*pasta.descritor, provisorio);
  if (!substituir && examinar(*pasta.descritor, provisorio).tipo != ACHADO::nada) {
    throw RECUSA{abaixo(pasta.caminho, provisorio), porque::alheio};
  }
  if (const int erro =
          gravarTexto(*pasta.descritor, nomeDoRegistro, textoDoRegistro(registro), substituir);
      erro != 0) {
    throw RECUSA{abaixo(pasta.caminho, nomeDoRegistro), porque::naoEscrita, motivoDoSistema(erro)};
  }
}

int removerRegistroDe(const PASTA& pasta) {
  const std::string provisorio = std::string(nomeDoRegistro) + sufixoProvisorio;
  if (provisorioDeixado(*pasta.descritor, provisorio)) {
    unlinkat(*pasta.descritor, provisorio.c_str(), 0);
  }
  return unlinkat(*pasta.descritor, nomeDoRegistro, 0) == 0 ? 0 : errno;
}

std::optional<REGISTROS> REGISTROS::abrir(const std::string& caminho, bool criar,
                                          std::string* motivo) {
  if (criar && mkdir(caminho.c_str(), 0755) != 0 && errno != EEXIST) {
    *motivo = motivoDoSistema(errno);
    return std::nullopt;
  }
  REGISTROS registros(
      DESCRITOR(open(caminho.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)), caminho);
  if (registros.pasta_.aberto()) {
    registros.cadeado_ =
        DESCRITOR(openat(*registros.pasta_, nomeDoCadeado,
                         O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644));
  }
  if (!registros.cadeado_.aberto()) {
    *motivo = motivoDoSistema(errno);
    return std::nullopt;
  }
  int feito = 0;
  do {
    feito = flock(*registros.cadeado_, LOCK_EX);
  } while (feito != 0 && errno == EINTR);
  if (feito != 0) {
    *motivo = motivoDoSistema(errno);
    return std::nullopt;
  }
  return registros;
}

std::vector<std::string> REGISTROS::raizes() const {
  const auto texto = lerTudo(*pasta_, nomeDasRaizes);
  return texto ? lerRaizes(*texto) : std::vector<std::string>{};
}

bool REGISTROS::anotar(const std::string& raiz, bool instalada, std::string* motivo) const {
  std::vector<std::string> lista = raizes();
  const auto achada = std::find(lista.begin(), lista.end(), raiz);
  if ((achada != lista.end()) == instalada) return true;
  if (instalada) {
    lista.push_back(raiz);
  } else {
    lista.erase(achada);
  }
  if (const int erro = gravarTexto(*pasta_, nomeDasRaizes, textoDasRaizes(lista), true);
      erro != 0) {
    *motivo = motivoDoSistema(erro);
    return false;
  }
  return true;
}

std::vector<std::string> REGISTROS::antigos() const {
  std::vector<std::string> nomes;
  DIR* lista = fdopendir(fcntl(*pasta_, F_DUPFD_CLOEXEC, 0));
  while (lista != nullptr) {
    const dirent* item = readdir(lista);
    if (item == nullptr) break;
    const std::string nome = item->d_name;
    if (nome.size() == tamanhoDoNomeAntigo && nome.ends_with(sufixoAntigo)) nomes.push_back(nome);
  }
  if (lista != nullptr) closedir(lista);
  std::sort(nomes.begin(), nomes.end());
  return nomes;
}

}  // namespace velha::instalacao
