#include "installer/instalacao.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <map>
#include <optional>
#include <set>

#include "installer/pastas.h"
#include "installer/registro.h"
#include "installer/sha256.h"

namespace velha::instalacao {
namespace {

constexpr char sufixoDoRegistro[] = ".txt";
constexpr char nomeDoCadeado[] = "lock";

// Each file is written under this name beside its own, then renamed into place, so that
// its own name holds either what was there or the whole new file.
std::string nomeProvisorio(const std::string& nome) { return "." + nome + ".velha-new"; }

std::string pastaDe(const std::string& caminho) {
  const std::size_t barra = caminho.rfind('/');
  return barra == std::string::npos ? "" : caminho.substr(0, barra);
}

std::string nomeDe(const std::string& caminho) { return caminho.substr(caminho.rfind('/') + 1); }

std::string abaixo(const std::string& raiz, const std::string& relativo) {
  return relativo.empty() ? raiz : (raiz == "/" ? "" : raiz) + "/" + relativo;
}

struct CONTEUDO {
  std::string hash;
  unsigned long long tamanho = 0;
};

// Reads the descriptor to its end, handing each block to usar (which may stop it by
// returning false); false, with errno, when a read fails.
template <class Usar>
bool lerEmBlocos(int descritor, Usar usar) {
  std::array<unsigned char, 65536> bloco{};
  for (;;) {
    const ssize_t lidos = read(descritor, bloco.data(), bloco.size());
    if (lidos < 0 && errno == EINTR) continue;
    if (lidos < 0) return false;
    if (lidos == 0 || !usar(bloco.data(), static_cast<std::size_t>(lidos))) return true;
  }
}

// What the open file holds; nullopt (with errno) when a read fails.
std::optional<CONTEUDO> lerConteudo(int descritor) {
  SHA256 soma;
  CONTEUDO conteudo;
  const bool lido = lerEmBlocos(descritor, [&](const unsigned char* bytes, std::size_t tamanho) {
    soma.acrescentar(bytes, tamanho);
    conteudo.tamanho += tamanho;
    return true;
  });
  if (!lido) return std::nullopt;
  conteudo.hash = soma.hex();
  return conteudo;
}

bool escreverTudo(int descritor, const unsigned char* bytes, std::size_t tamanho) {
  while (tamanho > 0) {
    const ssize_t escritos = write(descritor, bytes, tamanho);
    if (escritos < 0 && errno == EINTR) continue;
    if (escritos <= 0) return false;
    bytes += escritos;
    tamanho -= static_cast<std::size_t>(escritos);
  }
  return true;
}

DESCRITOR duplicar(const PASTA& pasta) {
  return DESCRITOR(fcntl(*pasta.descritor, F_DUPFD_CLOEXEC, 0));
}

// A trail that starts at the root's folder, for the walks below it.
TRILHA aPartirDe(const PASTA& raiz) {
  TRILHA trilha;
  trilha.pastas.push_back({duplicar(raiz), raiz.caminho});
  return trilha;
}

// The records folder, held, and its lock held while this runs.
struct REGISTROS {
  DESCRITOR pasta;
  std::string caminho;
};

std::optional<REGISTROS> abrirRegistros(const std::string& caminho, bool criar,
                                        std::string* motivo) {
  if (criar && mkdir(caminho.c_str(), 0755) != 0 && errno != EEXIST) {
    *motivo = motivoDoSistema(errno);
    return std::nullopt;
  }
  REGISTROS registros{
      DESCRITOR(open(caminho.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)), caminho};
  if (!registros.pasta.aberto()) {
    *motivo = motivoDoSistema(errno);
    return std::nullopt;
  }
  return registros;
}

// Takes the records folder's lock, waiting for it when esperar; false, with motivo, when
// it was not got.
bool trancar(const REGISTROS& registros, DESCRITOR* cadeado, std::string* motivo,
             bool esperar = true) {
  if (!cadeado->aberto()) {
    *cadeado = DESCRITOR(
        openat(*registros.pasta, nomeDoCadeado, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644));
  }
  if (!cadeado->aberto()) {
    *motivo = motivoDoSistema(errno);
    return false;
  }
  int feito = 0;
  do {
    feito = flock(**cadeado, esperar ? LOCK_EX : LOCK_EX | LOCK_NB);
  } while (feito != 0 && errno == EINTR);
  if (feito != 0) *motivo = motivoDoSistema(errno);
  return feito == 0;
}

std::string nomeDoRegistro(const std::string& raizReal) {
  return sha256(raizReal) + sufixoDoRegistro;
}

// The record's text, or nullopt when there is none (ENOENT) or it cannot be read.
std::optional<std::string> lerTexto(const REGISTROS& registros, const std::string& nome,
                                    int* erro) {
  DESCRITOR arquivo(openat(*registros.pasta, nome.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  if (!arquivo.aberto()) {
    *erro = errno;
    return std::nullopt;
  }
  std::string texto;
  if (!lerEmBlocos(*arquivo, [&](const unsigned char* bytes, std::size_t tamanho) {
        texto.append(reinterpret_cast<const char*>(bytes), tamanho);
        return true;
      })) {
    *erro = errno;
    return std::nullopt;
  }
  return texto;
}

// Written whole under another name, then renamed over the old one.
bool gravar(const REGISTROS& registros, const std::string& nome, const REGISTRO& registro,
            std::string* motivo) {
  const std::string provisorio = nome + ".new";
  const std::string texto = textoDoRegistro(registro);
  unlinkat(*registros.pasta, provisorio.c_str(), 0);
  DESCRITOR arquivo(openat(*registros.pasta, provisorio.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
  if (!arquivo.aberto() ||
      !escreverTudo(*arquivo, reinterpret_cast<const unsigned char*>(texto.data()), texto.size()) ||
      fsync(*arquivo) != 0 ||
      renameat(*registros.pasta, provisorio.c_str(), *registros.pasta, nome.c_str()) != 0) {
    *motivo = motivoDoSistema(errno);
    return false;
  }
  return true;
}

// Whether conteudo is what the record's entries for one path say the install wrote there.
bool eDaInstalacao(const CONTEUDO& conteudo, const std::vector<ENTRADA>& entradas,
                   const std::string& caminho) {
  return std::any_of(entradas.begin(), entradas.end(), [&](const ENTRADA& e) {
    return e.caminho == caminho && e.hash == conteudo.hash &&
           (e.tipo == tipoDeEntrada::arquivo ||
            (e.tipo == tipoDeEntrada::escrevendo && e.tamanho == conteudo.tamanho));
  });
}

// The unfinished copy an install was writing when it stopped: no longer than the file.
bool eCopiaInacabada(const CONTEUDO& conteudo, const std::vector<ENTRADA>& entradas,
                     const std::string& caminho) {
  return std::any_of(entradas.begin(), entradas.end(), [&](const ENTRADA& e) {
    return e.caminho == caminho && e.tipo == tipoDeEntrada::escrevendo &&
           conteudo.tamanho <= e.tamanho;
  });
}

// What lies at nome in pasta, as an install or uninstall sees it.
struct ACHADO {
  enum TIPO { nada, arquivo, link, pasta, outro, ilegivel, falha } tipo;
  CONTEUDO conteudo;
  int erro = 0;
  dev_t dispositivo = 0;
  ino_t inode = 0;
};

ACHADO examinar(int pasta, const std::string& nome) {
  DESCRITOR arquivo(
      openat(pasta, nome.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!arquivo.aberto()) {
    if (errno == ENOENT) return {ACHADO::nada, {}};
    if (errno == ELOOP) return {ACHADO::link, {}};
    struct stat estado {};
    if (fstatat(pasta, nome.c_str(), &estado, AT_SYMLINK_NOFOLLOW) == 0 &&
        !S_ISREG(estado.st_mode)) {
      return {S_ISDIR(estado.st_mode) ? ACHADO::pasta : ACHADO::outro, {}};
    }
    return {errno == EACCES ? ACHADO::ilegivel : ACHADO::falha, {}, errno};
  }
  struct stat estado {};
  struct stat daPasta {};
  if (fstat(*arquivo, &estado) != 0 || fstat(pasta, &daPasta) != 0) {
    return {ACHADO::falha, {}, errno};
  }
  if (S_ISDIR(estado.st_mode)) return {ACHADO::pasta, {}};
  // Another device (a file mounted over it) is not what the install wrote in this folder.
  if (!S_ISREG(estado.st_mode) || estado.st_dev != daPasta.st_dev) return {ACHADO::outro, {}};
  const std::optional<CONTEUDO> conteudo = lerConteudo(*arquivo);
  if (!conteudo) return {ACHADO::falha, {}, errno};
  return {ACHADO::arquivo, *conteudo, 0, estado.st_dev, estado.st_ino};
}

// Removes nome from pasta only if it is still the very file examined.
int remover(int pasta, const std::string& nome, const ACHADO& achado) {
  struct stat agora {};
  if (fstatat(pasta, nome.c_str(), &agora, AT_SYMLINK_NOFOLLOW) != 0) return errno;
  if (agora.st_dev != achado.dispositivo || agora.st_ino != achado.inode) return EBUSY;
  return unlinkat(pasta, nome.c_str(), 0) == 0 ? 0 : errno;
}

// What lies where the install writes a file, as the install names it when it refuses to
// write there, and as the uninstall says why it keeps it.
struct NOME_DO_ACHADO {
  ACHADO::TIPO tipo;
  const char* naInstalacao;
  const char* naDesinstalacao;
};
constexpr NOME_DO_ACHADO nomesDosAchados[] = {
    {ACHADO::link, "a link", "it is now a link, not the file the install wrote"},
    {ACHADO::pasta, "a folder", "it is now a folder"},
    {ACHADO::outro, "not a regular file", "it is no longer a regular file"},
    {ACHADO::ilegivel, "a file this install cannot read",
     "it cannot be read, so what it holds cannot be checked"},
    {ACHADO::arquivo, "a file this project did not write there, or one changed since",
     "it was changed after the install"},
};

std::string descrever(const ACHADO& achado, bool naInstalacao) {
  for (const NOME_DO_ACHADO& nome : nomesDosAchados) {
    if (nome.tipo == achado.tipo) return naInstalacao ? nome.naInstalacao : nome.naDesinstalacao;
  }
  return motivoDoSistema(achado.erro);
}

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

// The relative path of onde, a real path below raiz.
std::optional<std::string> relativoA(const std::string& raiz, const std::string& onde) {
  const std::string base = raiz == "/" ? "/" : raiz + "/";
  if (!onde.starts_with(base)) return std::nullopt;
  return onde.substr(base.size());
}

// Walks relativo down from the trail (which starts at the root of registro): a link is
// followed only where the record names it, and only while it leads where it led then.
void descerPelosLinksDoRegistro(TRILHA* trilha, const std::string& relativo, const GUARDA& guarda,
                                const REGISTRO& registro) {
  descer(
      trilha, relativo, guarda,
      [&](const std::string& onde) {
        const auto noRegistro = relativoA(registro.raiz, onde);
        return noRegistro && std::any_of(registro.entradas.begin(), registro.entradas.end(),
                                         [&](const ENTRADA& e) {
                                           return e.tipo == tipoDeEntrada::link &&
                                                  e.caminho == *noRegistro;
                                         });
      },
      [&](const std::string& onde, const std::string& real) {
        const ENTRADA link{tipoDeEntrada::link, relativoA(registro.raiz, onde).value_or(""),
                           sha256(real), 0};
        if (std::find(registro.entradas.begin(), registro.entradas.end(), link) ==
            registro.entradas.end()) {
          throw RECUSA{onde, "it now leads elsewhere than when the install began"};
        }
      });
}

struct PLANO {
  const ARQUIVO* arquivo;
  CONTEUDO conteudo;
};

class INSTALACAO {
 public:
  INSTALACAO(const PEDIDO& pedido, std::FILE* saida, std::FILE* erros)
      : pedido_(pedido), saida_(saida), erros_(erros), guarda_{geteuid(), !pedido.registrar} {}

  bool executar();

 private:
  bool planejar();
  void escrever(const PLANO& plano, const PASTA& pasta);
  bool falhar(const std::string& texto) {
    std::fprintf(erros_, "%s\n", texto.c_str());
    return false;
  }

  const PEDIDO& pedido_;
  std::FILE* saida_;
  std::FILE* erros_;
  GUARDA guarda_;
  std::optional<REGISTROS> registros_;
  std::string nomeDoRegistro_;
  TRILHA raiz_;
  REGISTRO registro_;
  std::vector<PLANO> planos_;
  std::map<std::string, TRILHA> trilhas_;  // each folder files go into, by its relative path
  bool comecou_ = false;
};

bool INSTALACAO::planejar() {
  registro_.raiz = raiz_.real();
  nomeDoRegistro_ = nomeDoRegistro(registro_.raiz);
  if (registros_) {
    int erro = 0;
    if (const auto texto = lerTexto(*registros_, nomeDoRegistro_, &erro)) {
      if (const std::string motivo = lerRegistro(*texto, &registro_); !motivo.empty()) {
        return falhar("Nothing was installed: the record of an earlier install into " +
                      registro_.raiz + ", " + abaixo(registros_->caminho, nomeDoRegistro_) +
                      ", cannot be used: " + motivo +
                      ". Move it away to install there again; the files it names are then no "
                      "longer known as this project's.");
      }
    } else if (erro != ENOENT) {
      return falhar("Nothing was installed: the record " +
                    abaixo(registros_->caminho, nomeDoRegistro_) +
                    " cannot be read: " + motivoDoSistema(erro));
    }
  }
  const std::vector<ENTRADA> antes = registro_.entradas;
  // The folders the install makes: the root's missing ones, then those below it.
  for (std::size_t i = 0; i < raiz_.faltam.size(); ++i) {
    acrescentarSeNovo(&registro_.entradas,
                      {tipoDeEntrada::pasta, acimaDaRaiz(raiz_.faltam.size() - 1 - i), "", 0});
  }
  std::string alheios;
  for (const ARQUIVO& arquivo : pedido_.arquivos) {
    DESCRITOR origem(open(arquivo.origem.c_str(), O_RDONLY | O_CLOEXEC));
    const std::optional<CONTEUDO> conteudo =
        origem.aberto() ? lerConteudo(*origem) : std::optional<CONTEUDO>{};
    if (!conteudo) {
      return falhar("Nothing was installed: " + arquivo.origem +
                    " cannot be read: " + motivoDoSistema(errno));
    }
    planos_.push_back({&arquivo, *conteudo});
    const std::string pasta = pastaDe(arquivo.destino);
    // Each folder walked once, and held: the files go into the folder checked here.
    TRILHA semRaiz;
    TRILHA* lugar = &semRaiz;
    if (raiz_.faltam.empty()) {
      const auto [achada, nova] = trilhas_.try_emplace(pasta);
      lugar = &achada->second;
      if (nova) {
        *lugar = aPartirDe(raiz_.ultima());
        descer(
            lugar, pasta, guarda_, [](const std::string&) { return true; },
            [&](const std::string& onde, const std::string& real) {
              if (const auto relativo = relativoA(registro_.raiz, onde)) {
                acrescentarSeNovo(&registro_.entradas,
                                  {tipoDeEntrada::link, *relativo, sha256(real), 0});
              }
            });
      }
    }
    const TRILHA& trilha = *lugar;
    // Its missing folders, named from the root, each after the one that holds it.
    const std::vector<std::string> nomes = nomesDe(pasta);
    const std::size_t existem = raiz_.faltam.empty() && trilha.faltam.size() <= nomes.size()
                                    ? nomes.size() - trilha.faltam.size()
                                    : 0;
    std::string relativo;
    for (std::size_t i = 0; i < nomes.size(); ++i) {
      relativo += (i == 0 ? "" : "/") + nomes[i];
      if (i >= existem)
        acrescentarSeNovo(&registro_.entradas, {tipoDeEntrada::pasta, relativo, "", 0});
    }
    if (!raiz_.faltam.empty() || !trilha.faltam.empty()) continue;
    const std::string nome = nomeDe(arquivo.destino);
    const std::string caminho = abaixo(registro_.raiz, arquivo.destino);
    const ACHADO ali = examinar(*trilha.ultima().descritor, nome);
    const bool nosso =
        ali.tipo == ACHADO::nada ||
        (ali.tipo == ACHADO::arquivo && eDaInstalacao(ali.conteudo, antes, arquivo.destino));
    if (!nosso) alheios += "\n  " + caminho + ": " + descrever(ali, true);
    const ACHADO inacabado = examinar(*trilha.ultima().descritor, nomeProvisorio(nome));
    if (inacabado.tipo != ACHADO::nada &&
        !(inacabado.tipo == ACHADO::arquivo &&
          eCopiaInacabada(inacabado.conteudo, antes, arquivo.destino))) {
      alheios += "\n  " + abaixo(trilha.ultima().caminho, nomeProvisorio(nome)) + ": " +
                 descrever(inacabado, true);
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
  for (const PLANO& plano : planos_) {
    acrescentarSeNovo(&registro_.entradas, {tipoDeEntrada::escrevendo, plano.arquivo->destino,
                                            plano.conteudo.hash, plano.conteudo.tamanho});
  }
  return true;
}

void INSTALACAO::escrever(const PLANO& plano, const PASTA& pasta) {
  const std::string nome = nomeDe(plano.arquivo->destino);
  const std::string provisorio = nomeProvisorio(nome);
  const std::string caminho = abaixo(pasta.caminho, nome);
  std::fprintf(saida_, "-- Installing: %s\n", caminho.c_str());
  std::fflush(saida_);
  // An unfinished copy of an install that stopped, found to be one while planning.
  unlinkat(*pasta.descritor, provisorio.c_str(), 0);
  DESCRITOR copia(openat(*pasta.descritor, provisorio.c_str(),
                         O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!copia.aberto()) throw RECUSA{caminho, "it could not be written: " + motivoDoSistema(errno)};
  DESCRITOR origem(open(plano.arquivo->origem.c_str(), O_RDONLY | O_CLOEXEC));
  if (!origem.aberto()) throw RECUSA{plano.arquivo->origem, motivoDoSistema(errno)};
  SHA256 soma;
  bool escrito = true;
  const bool lido = lerEmBlocos(*origem, [&](const unsigned char* bytes, std::size_t tamanho) {
    soma.acrescentar(bytes, tamanho);
    escrito = escreverTudo(*copia, bytes, tamanho);
    return escrito;
  });
  if (!lido) throw RECUSA{plano.arquivo->origem, motivoDoSistema(errno)};
  if (!escrito) throw RECUSA{caminho, "it could not be written: " + motivoDoSistema(errno)};
  if (soma.hex() != plano.conteudo.hash) {
    throw RECUSA{plano.arquivo->origem, "it changed while the install ran"};
  }
  if (fchmod(*copia, plano.arquivo->modo) != 0 ||
      renameat(*pasta.descritor, provisorio.c_str(), *pasta.descritor, nome.c_str()) != 0) {
    throw RECUSA{caminho, "it could not be written: " + motivoDoSistema(errno)};
  }
}

bool INSTALACAO::executar() {
  DESCRITOR cadeado;
  if (pedido_.registrar) {
    std::string motivo;
    registros_ = abrirRegistros(pedido_.registros, true, &motivo);
    if (!registros_ || !trancar(*registros_, &cadeado, &motivo)) {
      return falhar("Nothing was installed: the install records folder " + pedido_.registros +
                    " cannot be used: " + motivo);
    }
  }
  const std::string pedida = pedido_.raiz.empty() ? "/" : pedido_.raiz;
  try {
    raiz_ = resolver(pedida, guarda_);
    if (!planejar()) return false;
    std::string motivo;
    if (registros_ && !gravar(*registros_, nomeDoRegistro_, registro_, &motivo)) {
      return falhar("Nothing was installed: the install record " +
                    abaixo(registros_->caminho, nomeDoRegistro_) +
                    " could not be written: " + motivo);
    }
    comecou_ = true;
    criarOQueFalta(&raiz_, guarda_);
    // cpack makes a package's staging root (its usr/) itself, with the umask's rights.
    if (!pedido_.registrar && fchmod(*raiz_.ultima().descritor, 0755) != 0) {
      throw RECUSA{raiz_.ultima().caminho, motivoDoSistema(errno)};
    }
    // Each file goes into the folder held since planning. Where the root was made just now,
    // its folders are walked now, following only the links seen while planning, where they
    // led then.
    for (const PLANO& plano : planos_) {
      const std::string pasta = pastaDe(plano.arquivo->destino);
      const auto [achada, nova] = trilhas_.try_emplace(pasta);
      TRILHA& trilha = achada->second;
      if (nova) {
        trilha = aPartirDe(raiz_.ultima());
        descerPelosLinksDoRegistro(&trilha, pasta, guarda_, registro_);
      }
      criarOQueFalta(&trilha, guarda_);
      escrever(plano, trilha.ultima());
    }
  } catch (const RECUSA& recusa) {
    const std::string como = comecou_ ? "The install into " + pedida + " stopped"
                                      : "Nothing was installed into " + pedida;
    const std::string depois =
        comecou_ && registros_ ? " What it wrote is recorded, for the uninstall." : "";
    if (recusa.deOutroUsuario) {
      return falhar(como + ": another user could change " + recusa.onde +
                    " while the install runs (" + recusa.motivo +
                    "), and so make it write elsewhere. Install where only you (or root) can "
                    "write." +
                    depois);
    }
    return falhar(como + ": " + recusa.onde + ": " + recusa.motivo + "." + depois);
  }
  if (!registros_) return true;
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
    entradas.push_back({tipoDeEntrada::arquivo, plano.arquivo->destino, plano.conteudo.hash, 0});
  }
  registro_.entradas = entradas;
  std::string motivo;
  if (!gravar(*registros_, nomeDoRegistro_, registro_, &motivo)) {
    return falhar("The install record " + abaixo(registros_->caminho, nomeDoRegistro_) +
                  " could not be written: " + motivo);
  }
  return true;
}

class DESINSTALACAO {
 public:
  DESINSTALACAO(const REGISTROS& registros, std::FILE* saida, std::FILE* erros)
      : registros_(registros), saida_(saida), erros_(erros), guarda_{geteuid()} {}

  // Removes what the record nome names; false when something was kept.
  bool executar(const std::string& nome);

 private:
  void manter(const std::string& oQue, const std::string& porQue) {
    std::fprintf(erros_, "Kept %s: %s\n", oQue.c_str(), porQue.c_str());
    ++mantidos_;
  }
  std::optional<TRILHA> pastaAte(const std::string& relativo, bool eLaMesma);
  void removerArquivo(const std::string& caminho);
  void removerPasta(int pasta, const std::string& nome, const std::string& relativo);

  const REGISTROS& registros_;
  std::FILE* saida_;
  std::FILE* erros_;
  GUARDA guarda_;
  REGISTRO registro_;
  std::string caminhoDoRegistro_;
  std::optional<TRILHA> raiz_;
  std::vector<ENTRADA> ficam_;
  int mantidos_ = 0;
};

// The folder of relativo (relativo itself when eLaMesma), below the root through no link
// but those the record names, still leading where they led; nullopt when it is gone, and
// also when it cannot be reached (said, and kept, here).
std::optional<TRILHA> DESINSTALACAO::pastaAte(const std::string& relativo, bool eLaMesma) {
  const std::string pasta = eLaMesma ? relativo : pastaDe(relativo);
  const std::string caminho = abaixo(registro_.raiz, relativo);
  TRILHA trilha = aPartirDe(raiz_->ultima());
  try {
    descerPelosLinksDoRegistro(&trilha, pasta, guarda_, registro_);
  } catch (const RECUSA& recusa) {
    if (recusa.deOutroUsuario) {
      manter(caminho, "another user could change " + recusa.onde + " while this runs (" +
                          recusa.motivo + "), and so make it remove what is not the install's");
    } else if (recusa.motivo == "it is a link") {
      manter(caminho, "a folder on its way from " + registro_.raiz + " is now a link");
    } else {
      manter(caminho, recusa.onde + ": " + recusa.motivo);
    }
    return std::nullopt;
  }
  if (!trilha.faltam.empty()) return std::nullopt;
  return trilha;
}

void DESINSTALACAO::removerArquivo(const std::string& relativo) {
  const int mantidosAntes = mantidos_;
  const std::string caminho = abaixo(registro_.raiz, relativo);
  std::optional<TRILHA> trilha = pastaAte(relativo, false);
  if (!trilha) {
    if (mantidos_ == mantidosAntes) {
      std::fprintf(saida_, "-- Already gone: %s\n", caminho.c_str());
      return;
    }
  } else {
    const int pasta = *trilha->ultima().descritor;
    const std::string nome = nomeDe(relativo);
    // The unfinished copy of an install that stopped, beside it.
    const std::string provisorio = nomeProvisorio(nome);
    const ACHADO inacabado = examinar(pasta, provisorio);
    if (inacabado.tipo == ACHADO::arquivo &&
        eCopiaInacabada(inacabado.conteudo, registro_.entradas, relativo)) {
      if (const int erro = remover(pasta, provisorio, inacabado); erro != 0) {
        manter(abaixo(trilha->ultima().caminho, provisorio),
               "it could not be removed: " + motivoDoSistema(erro));
      }
    }
    const ACHADO ali = examinar(pasta, nome);
    if (ali.tipo == ACHADO::nada) {
      std::fprintf(saida_, "-- Already gone: %s\n", caminho.c_str());
    } else if (ali.tipo != ACHADO::arquivo ||
               !eDaInstalacao(ali.conteudo, registro_.entradas, relativo)) {
      manter(caminho, descrever(ali, false));
    } else if (const int erro = remover(pasta, nome, ali); erro != 0) {
      manter(caminho, "it could not be removed: " + motivoDoSistema(erro));
    } else {
      std::fprintf(saida_, "-- Removed %s\n", caminho.c_str());
    }
  }
  if (mantidos_ != mantidosAntes) {
    for (const ENTRADA& entrada : registro_.entradas) {
      if (entrada.caminho == relativo && entrada.tipo != tipoDeEntrada::pasta) {
        ficam_.push_back(entrada);
      }
    }
  }
}

// rmdir removes a folder only when it is empty. One that holds what this uninstall kept
// stays recorded, to go with it next time; one that holds only someone else's files is
// theirs now: kept, and no longer recorded.
void DESINSTALACAO::removerPasta(int pasta, const std::string& nome, const std::string& relativo) {
  const std::string caminho =
      relativo.starts_with(".") ? raiz_->pastas.back().caminho : abaixo(registro_.raiz, relativo);
  std::string ondeEsta = caminho;
  if (relativo.starts_with("..")) {
    ondeEsta = raiz_->pastas[raiz_->pastas.size() - 1 - nomesDe(relativo).size()].caminho;
  }
  if (unlinkat(pasta, nome.c_str(), AT_REMOVEDIR) == 0) {
    std::fprintf(saida_, "-- Removed folder %s\n", ondeEsta.c_str());
    return;
  }
  if (errno == ENOENT) return;
  const bool guardaOQueFicou = std::any_of(ficam_.begin(), ficam_.end(), [&](const ENTRADA& e) {
    return relativo.starts_with(".") || e.caminho.starts_with(relativo + "/");
  });
  if ((errno == ENOTEMPTY || errno == EEXIST) && guardaOQueFicou) {
    std::fprintf(saida_, "-- Kept folder %s: it holds what was kept\n", ondeEsta.c_str());
    ficam_.push_back({tipoDeEntrada::pasta, relativo, "", 0});
  } else if (errno == ENOTEMPTY || errno == EEXIST) {
    std::fprintf(saida_, "-- Kept folder %s: it holds files the install did not write\n",
                 ondeEsta.c_str());
  } else {
    manter("folder " + ondeEsta, "it could not be removed: " + motivoDoSistema(errno));
    ficam_.push_back({tipoDeEntrada::pasta, relativo, "", 0});
  }
}

bool DESINSTALACAO::executar(const std::string& nome) {
  caminhoDoRegistro_ = abaixo(registros_.caminho, nome);
  int erro = 0;
  const std::optional<std::string> texto = lerTexto(registros_, nome, &erro);
  if (!texto && erro == ENOENT) {
    std::fprintf(saida_, "-- The record %s is gone: another uninstall removed it meanwhile\n",
                 caminhoDoRegistro_.c_str());
    return true;
  }
  if (!texto) {
    manter(caminhoDoRegistro_,
           "it cannot be read (" + motivoDoSistema(erro) + "), so nothing it names was removed");
    return false;
  }
  if (const std::string motivo = lerRegistro(*texto, &registro_); !motivo.empty()) {
    manter(caminhoDoRegistro_, motivo + ", so nothing it names was removed");
    return false;
  }
  if (registro_.raiz.empty() || registro_.raiz.front() != '/') {
    manter(caminhoDoRegistro_,
           "it names an install root that is not absolute, so nothing was removed");
    return false;
  }
  try {
    // The root is held through its real path alone: a link on the way now means that it
    // lies elsewhere than where the install wrote.
    raiz_ = resolver(registro_.raiz, guarda_, [](const std::string&) { return false; });
  } catch (const RECUSA& recusa) {
    if (recusa.deOutroUsuario) {
      manter(registro_.raiz, "another user could change " + recusa.onde + " while this runs (" +
                                 recusa.motivo +
                                 "), and so make it remove what is not the install's; nothing "
                                 "of it was removed, and the record stays in " +
                                 caminhoDoRegistro_);
    } else {
      manter(registro_.raiz, "it, or a folder above it, now leads to another place (" +
                                 recusa.onde + ": " + recusa.motivo +
                                 "), so nothing of it was removed; the record stays in " +
                                 caminhoDoRegistro_);
    }
    return false;
  }
  std::fprintf(saida_, "-- Uninstalling from %s/\n", registro_.raiz.c_str());
  if (raiz_->faltam.empty()) {
    std::set<std::string> feitos;
    for (const ENTRADA& entrada : registro_.entradas) {
      if (entrada.tipo == tipoDeEntrada::link) ficam_.push_back(entrada);  // the user's
      if ((entrada.tipo == tipoDeEntrada::arquivo || entrada.tipo == tipoDeEntrada::escrevendo) &&
          feitos.insert(entrada.caminho).second) {
        removerArquivo(entrada.caminho);
      }
    }
    // Deepest first, so that a folder emptied by its children's removal goes too.
    std::vector<std::string> pastas;
    for (const ENTRADA& entrada : registro_.entradas) {
      if (entrada.tipo == tipoDeEntrada::pasta && !entrada.caminho.starts_with(".")) {
        pastas.push_back(entrada.caminho);
      }
    }
    std::sort(pastas.rbegin(), pastas.rend());
    for (const std::string& relativo : pastas) {
      if (std::optional<TRILHA> trilha = pastaAte(relativo, true)) {
        trilha->pastas.pop_back();
        removerPasta(*trilha->ultima().descritor, nomeDe(relativo), relativo);
      } else if (mantidos_ > 0) {
        ficam_.push_back({tipoDeEntrada::pasta, relativo, "", 0});
      }
    }
  }
  // Then the root and the folders the install made above it, nearest first, while the
  // record names them and they exist.
  const std::size_t existem = raiz_->pastas.size();
  for (std::size_t niveis = 0; niveis < existem - 1; ++niveis) {
    const std::string relativo = acimaDaRaiz(niveis);
    const bool criada = std::any_of(
        registro_.entradas.begin(), registro_.entradas.end(),
        [&](const ENTRADA& e) { return e.tipo == tipoDeEntrada::pasta && e.caminho == relativo; });
    if (!criada) break;
    if (niveis < raiz_->faltam.size()) continue;  // already gone
    const std::size_t indice = existem - 1 - (niveis - raiz_->faltam.size());
    const std::string nome = nomeDe(raiz_->pastas[indice].caminho);
    removerPasta(*raiz_->pastas[indice - 1].descritor, nome, relativo);
    if (std::any_of(ficam_.begin(), ficam_.end(), [&](const ENTRADA& e) {
          return e.tipo == tipoDeEntrada::pasta && e.caminho == relativo;
        })) {
      break;
    }
  }
  if (mantidos_ == 0) {
    unlinkat(*registros_.pasta, nome.c_str(), 0);
    return true;
  }
  registro_.entradas = ficam_;
  std::string motivo;
  if (!gravar(registros_, nome, registro_, &motivo)) {
    manter(caminhoDoRegistro_, "what is left could not be written there: " + motivo);
  }
  std::fprintf(erros_, "The record of what is left stays in %s\n", caminhoDoRegistro_.c_str());
  return false;
}

}  // namespace

bool instalar(const PEDIDO& pedido, std::FILE* saida, std::FILE* erros) {
  return INSTALACAO(pedido, saida, erros).executar();
}

}  // namespace velha::instalacao

namespace velha::instalacao {

desinstalacao desinstalar(const std::string& registros, const std::string* prefixo,
                          std::FILE* saida, std::FILE* erros) {
  auto semRegistro = [&] {
    std::fprintf(erros,
                 "Nothing to uninstall: %s/ holds no record of an install. cmake --install "
                 "writes one for each prefix, and it is removed once its files are "
                 "uninstalled.\n",
                 registros.c_str());
    return desinstalacao::semRegistro;
  };
  std::string motivo;
  std::optional<REGISTROS> pasta = abrirRegistros(registros, false, &motivo);
  if (!pasta) return semRegistro();
  std::vector<std::string> nomes;
  if (prefixo != nullptr) {
    try {
      nomes.push_back(nomeDoRegistro(resolver(*prefixo, GUARDA{geteuid(), true}).real()));
    } catch (const RECUSA&) {
      return semRegistro();
    }
    if (faccessat(*pasta->pasta, nomes.front().c_str(), F_OK, AT_SYMLINK_NOFOLLOW) != 0) {
      nomes.clear();
    }
  } else {
    DIR* lista = fdopendir(fcntl(*pasta->pasta, F_DUPFD_CLOEXEC, 0));
    while (lista != nullptr) {
      const dirent* item = readdir(lista);
      if (item == nullptr) break;
      const std::string nome = item->d_name;
      if (nome.size() == 64 + std::size(sufixoDoRegistro) - 1 && nome.ends_with(sufixoDoRegistro)) {
        nomes.push_back(nome);
      }
    }
    if (lista != nullptr) closedir(lista);
    std::sort(nomes.begin(), nomes.end());
  }
  // Listed before the lock: a record that an uninstall running at the same time removes
  // meanwhile is said gone, and so is all of them when that one held the lock first.
  DESCRITOR cadeado;
  const bool disputado = !trancar(*pasta, &cadeado, &motivo, false);
  if (disputado && !trancar(*pasta, &cadeado, &motivo, true)) {
    std::fprintf(erros, "Nothing was uninstalled: the records folder %s cannot be locked: %s\n",
                 registros.c_str(), motivo.c_str());
    return desinstalacao::algoFicou;
  }
  if (nomes.empty() && disputado) {
    std::fprintf(saida, "-- Nothing left to uninstall: another uninstall ran at the same time\n");
    return desinstalacao::feita;
  }
  if (nomes.empty()) return semRegistro();
  int mantidos = 0;
  for (const std::string& nome : nomes) {
    DESINSTALACAO desinstalacao(*pasta, saida, erros);
    if (!desinstalacao.executar(nome)) ++mantidos;
  }
  if (mantidos == 0) return desinstalacao::feita;
  std::fprintf(erros,
               "Not everything was uninstalled, as said above: uninstall again once the "
               "reasons are dealt with\n");
  return desinstalacao::algoFicou;
}

}  // namespace velha::instalacao
