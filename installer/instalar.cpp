// The install: plans every file before it writes one, records what it is about to write,
// then writes each into the folder it checked while planning.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>

#include "installer/arquivos.h"
#include "installer/instalacao.h"
#include "installer/registros.h"
#include "installer/sha256.h"

namespace velha::instalacao {
namespace {

// "." for the root, ".." for the folder that holds it, and so on up.
std::string acimaDaRaiz(std::size_t niveis) {
  if (niveis == 0) return ".";
  std::string caminho = "..";
  for (std::size_t i = 1; i < niveis; ++i) caminho += "/..";
  return caminho;
}

void acrescentarSeNovo(std::vector<ENTRADA>* entradas, const ENTRADA& entrada) {
  if (std::find(entradas->begin(), entradas->end(), entrada) == entradas->end()) {
    entradas->push_back(entrada);
  }
}

struct PLANO {
  const ARQUIVO* arquivo;
  CONTEUDO conteudo;
  ACHADO inacabado;  // the unfinished copy of an install that stopped, to be replaced
};

class INSTALACAO {
 public:
  INSTALACAO(const PEDIDO& pedido, std::FILE* saida, std::FILE* erros)
      : pedido_(pedido), saida_(saida), erros_(erros), guarda_{geteuid()} {}

  bool executar();

 private:
  bool planejar();
  void planejarPastas(const std::string& pasta);
  TRILHA& trilhaAte(const std::string& pasta);
  void escrever(PLANO& plano, const PASTA& pasta);
  void gravar() {
    if (pedido_.registrar) gravarRegistroEm(trilhaAte(pastaDoRegistro).ultima(), registro_);
  }
  bool falhar(const std::string& texto) {
    std::fprintf(erros_, "%s\n", texto.c_str());
    return false;
  }

  const PEDIDO& pedido_;
  std::FILE* saida_;
  std::FILE* erros_;
  GUARDA guarda_;
  std::optional<REGISTROS> registros_;
  TRILHA raiz_;
  REGISTRO registro_;
  std::vector<ENTRADA> antes_;  // the record of the installs before this one
  std::vector<PLANO> planos_;
  std::map<std::string, TRILHA> trilhas_;  // each folder files go into, by its relative path
  bool comecou_ = false;
  bool gravado_ = false;  // the record names what is written
};

// Removes the last quantas folders of the trail, deepest first: those just made for it.
void desfazer(TRILHA* trilha, std::size_t quantas) {
  for (; quantas > 0 && trilha->pastas.size() > 1; --quantas) {
    const std::string nome = nomeDe(trilha->ultima().caminho);
    trilha->pastas.pop_back();
    unlinkat(*trilha->ultima().descritor, nome.c_str(), AT_REMOVEDIR);
  }
}

// The folder pasta below the root, held: walked once while planning, each link the rules
// let it follow noted in the record; where the root was made only now, walked now,
// following only the links seen while planning, where they led then.
TRILHA& INSTALACAO::trilhaAte(const std::string& pasta) {
  const auto [achada, nova] = trilhas_.try_emplace(pasta);
  TRILHA& trilha = achada->second;
  if (nova) {
    trilha = aPartirDe(raiz_.ultima());
    if (comecou_) {
      descerPelosLinksDoRegistro(&trilha, pasta, guarda_, registro_);
    } else {
      descerAnotandoLinks(&trilha, pasta, guarda_, registro_.raiz, &registro_.entradas);
    }
  }
  return trilha;
}

// Records the folders on the way to pasta that the install is to make, each named by the
// way it is reached from the root, as the uninstall will reach it.
void INSTALACAO::planejarPastas(const std::string& pasta) {
  const std::vector<std::string> nomes = nomesDe(pasta);
  std::size_t existem = 0;
  if (raiz_.faltam.empty()) {
    const TRILHA& trilha = trilhaAte(pasta);
    existem = trilha.faltam.size() <= nomes.size() ? nomes.size() - trilha.faltam.size() : 0;
  }
  std::string relativo;
  for (std::size_t i = 0; i < nomes.size(); ++i) {
    relativo += (i == 0 ? "" : "/") + nomes[i];
    if (i >= existem) acrescentarSeNovo(&registro_.entradas, {tipoDeEntrada::pasta, relativo});
  }
}

bool INSTALACAO::planejar() {
  registro_.raiz = raiz_.real();
  if (pedido_.registrar && raiz_.faltam.empty()) {
    const TRILHA& doRegistro = trilhaAte(pastaDoRegistro);
    if (doRegistro.faltam.empty()) {
      if (auto anterior = lerRegistroEm(doRegistro.ultima(), registro_.raiz, guarda_)) {
        const std::vector<ENTRADA> links = registro_.entradas;
        registro_ = *anterior;
        for (const ENTRADA& link : links) acrescentarSeNovo(&registro_.entradas, link);
      }
    }
  }
  antes_ = registro_.entradas;
  // The folders the install makes: the root's missing ones, then those below it.
  for (std::size_t i = 0; i < raiz_.faltam.size(); ++i) {
    acrescentarSeNovo(&registro_.entradas,
                      {tipoDeEntrada::pasta, acimaDaRaiz(raiz_.faltam.size() - 1 - i)});
  }
  if (pedido_.registrar) planejarPastas(pastaDoRegistro);
  std::string alheios;
  for (const ARQUIVO& arquivo : pedido_.arquivos) {
    DESCRITOR origem(open(arquivo.origem.c_str(), O_RDONLY | O_CLOEXEC));
    const std::optional<CONTEUDO> conteudo =
        origem.aberto() ? lerConteudo(*origem) : std::optional<CONTEUDO>{};
    if (!conteudo) {
      return falhar("Nothing was installed: " + arquivo.origem +
                    " cannot be read: " + motivoDoSistema(errno));
    }
    planos_.push_back({&arquivo, *conteudo, {ACHADO::nada, {}}});
    planejarPastas(pastaDe(arquivo.destino));
    if (!raiz_.faltam.empty() || !trilhaAte(pastaDe(arquivo.destino)).faltam.empty()) continue;
    const PASTA& pasta = trilhaAte(pastaDe(arquivo.destino)).ultima();
    const std::string nome = nomeDe(arquivo.destino);
    const ACHADO ali = examinar(*pasta.descritor, nome);
    if (ali.tipo != ACHADO::nada && !eDaInstalacao(ali, antes_, arquivo.destino)) {
      alheios += "\n  " + abaixo(registro_.raiz, arquivo.destino) + ": " + descrever(ali, true);
    }
    const ACHADO inacabado = examinar(*pasta.descritor, nomeProvisorio(nome));
    const bool nossa = eCopiaInacabada(inacabado, antes_, arquivo.destino);
    if (nossa || (pedido_.sobrescrever && inacabado.tipo == ACHADO::arquivo)) {
      planos_.back().inacabado = inacabado;
    }
    if (inacabado.tipo != ACHADO::nada && !nossa) {
      alheios +=
          "\n  " + abaixo(pasta.caminho, nomeProvisorio(nome)) + ": " + descrever(inacabado, true);
    }
  }
  if (!alheios.empty() && !pedido_.sobrescrever) {
    return falhar(
        "Nothing was installed: these files would be written over, and this project "
        "did not write them:" +
        alheios +
        "\nMove them away, or set VELHA_INSTALL_OVERWRITE=1 to replace them (the "
        "uninstall then removes them).");
  }
  if (!alheios.empty()) {
    std::fprintf(saida_, "-- VELHA_INSTALL_OVERWRITE=1: writing over%s\n", alheios.c_str());
  }
  for (const PLANO& plano : planos_) {
    acrescentarSeNovo(&registro_.entradas, {tipoDeEntrada::escrevendo, plano.arquivo->destino,
                                            plano.conteudo.hash, plano.conteudo.tamanho});
  }
  return true;
}

void INSTALACAO::escrever(PLANO& plano, const PASTA& pasta) {
  const std::string nome = nomeDe(plano.arquivo->destino);
  const std::string provisorio = nomeProvisorio(nome);
  const std::string caminho = abaixo(pasta.caminho, nome);
  std::fprintf(saida_, "-- Installing: %s\n", caminho.c_str());
  std::fflush(saida_);
  if (plano.inacabado.tipo == ACHADO::arquivo) {
    if (const int erro = remover(*pasta.descritor, provisorio, plano.inacabado); erro != 0) {
      throw RECUSA{abaixo(pasta.caminho, provisorio), porque::sistema, motivoDoSistema(erro)};
    }
  }
  DESCRITOR copia(openat(*pasta.descritor, provisorio.c_str(),
                         O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  struct stat estado {};
  if (!copia.aberto() || fstat(*copia, &estado) != 0) {
    throw RECUSA{caminho, porque::naoEscrita, motivoDoSistema(errno)};
  }
  // The copy is known by its inode from now on, so that no file of the user's that comes
  // to bear its name is ever taken for it.
  for (ENTRADA& entrada : registro_.entradas) {
    if (entrada.tipo == tipoDeEntrada::escrevendo && entrada.caminho == plano.arquivo->destino) {
      entrada.dispositivo = estado.st_dev;
      entrada.inode = estado.st_ino;
    }
  }
  gravar();
  DESCRITOR origem(open(plano.arquivo->origem.c_str(), O_RDONLY | O_CLOEXEC));
  if (!origem.aberto())
    throw RECUSA{plano.arquivo->origem, porque::sistema, motivoDoSistema(errno)};
  SHA256 soma;
  bool escrito = true;
  const bool lido = lerEmBlocos(*origem, [&](const unsigned char* bytes, std::size_t tamanho) {
    soma.acrescentar(bytes, tamanho);
    escrito = escreverTudo(*copia, bytes, tamanho);
    return escrito;
  });
  if (!lido) throw RECUSA{plano.arquivo->origem, porque::sistema, motivoDoSistema(errno)};
  if (!escrito) throw RECUSA{caminho, porque::naoEscrita, motivoDoSistema(errno)};
  if (soma.hex() != plano.conteudo.hash) throw RECUSA{plano.arquivo->origem, porque::origemMudou};
  if (fchmod(*copia, plano.arquivo->modo) != 0 ||
      renameat(*pasta.descritor, provisorio.c_str(), *pasta.descritor, nome.c_str()) != 0) {
    throw RECUSA{caminho, porque::naoEscrita, motivoDoSistema(errno)};
  }
}

bool INSTALACAO::executar() {
  if (pedido_.registrar) {
    std::string motivo;
    registros_ = REGISTROS::abrir(pedido_.registros, true, &motivo);
    if (!registros_) {
      return falhar("Nothing was installed: the install records folder " + pedido_.registros +
                    " cannot be used: " + motivo);
    }
  }
  const std::string pedida = pedido_.raiz.empty() ? "/" : pedido_.raiz;
  try {
    raiz_ = resolver(pedida, guarda_);
    if (!planejar()) return false;
    std::string motivo;
    if (registros_ && !registros_->anotar(registro_.raiz, true, &motivo)) {
      return falhar("Nothing was installed: the list of where this build installed, in " +
                    registros_->caminho() + ", could not be written: " + motivo);
    }
    comecou_ = true;
    if (!pedido_.registrar) criarOQueFalta(&raiz_, guarda_);
    // cpack makes a package's staging root (its usr/) itself, with the umask's rights.
    if (!pedido_.registrar && fchmod(*raiz_.ultima().descritor, 0755) != 0) {
      throw RECUSA{raiz_.ultima().caminho, porque::sistema, motivoDoSistema(errno)};
    }
    if (pedido_.registrar) {
      // The folders made for the record go again if the record cannot be written there (a
      // full disk): nothing would name them.
      const std::size_t faltamNaRaiz = raiz_.faltam.size();
      criarOQueFalta(&raiz_, guarda_);
      TRILHA& doRegistro = trilhaAte(pastaDoRegistro);
      const std::size_t faltam = doRegistro.faltam.size();
      criarOQueFalta(&doRegistro, guarda_);
      try {
        gravar();
      } catch (const RECUSA&) {
        desfazer(&doRegistro, faltam);
        desfazer(&raiz_, faltamNaRaiz);
        comecou_ = false;
        throw;
      }
      gravado_ = true;
    }
    for (PLANO& plano : planos_) {
      TRILHA& trilha = trilhaAte(pastaDe(plano.arquivo->destino));
      criarOQueFalta(&trilha, guarda_);
      escrever(plano, trilha.ultima());
    }
    // Written: each file's entries become the one for what it holds now.
    std::vector<ENTRADA> entradas;
    for (const ENTRADA& entrada : registro_.entradas) {
      const bool escrito = std::any_of(planos_.begin(), planos_.end(), [&](const PLANO& p) {
        return p.arquivo->destino == entrada.caminho;
      });
      const bool deArquivo =
          entrada.tipo == tipoDeEntrada::arquivo || entrada.tipo == tipoDeEntrada::escrevendo;
      if (!(escrito && deArquivo)) entradas.push_back(entrada);
    }
    for (const PLANO& plano : planos_) {
      entradas.push_back({tipoDeEntrada::arquivo, plano.arquivo->destino, plano.conteudo.hash});
    }
    registro_.entradas = entradas;
    gravar();
  } catch (const RECUSA& recusa) {
    const std::string como = comecou_ ? "The install into " + pedida + " stopped"
                                      : "Nothing was installed into " + pedida;
    const std::string depois = gravado_ ? " What it wrote is recorded, for the uninstall." : "";
    if (recusa.tipo == porque::outroUsuario) {
      return falhar(como + ": another user could change " + recusa.onde +
                    " while the install runs (" + recusa.motivo() +
                    "), and so make it write elsewhere. Install where only you (or root) can "
                    "write." +
                    depois);
    }
    return falhar(como + ": " + recusa.onde + ": " + recusa.motivo() + "." + depois);
  }
  return true;
}

}  // namespace

bool instalar(const PEDIDO& pedido, std::FILE* saida, std::FILE* erros) {
  return INSTALACAO(pedido, saida, erros).executar();
}

}  // namespace velha::instalacao
