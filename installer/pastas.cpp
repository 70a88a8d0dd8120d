#include "installer/pastas.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <optional>

namespace velha::instalacao {
namespace {

// As many links as the kernel follows on one path before it gives up (ELOOP).
constexpr int linksNumCaminho = 40;

constexpr int abrirPasta = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

std::string nomeDoUsuario(uid_t uid) {
  if (const passwd* usuario = getpwuid(uid)) return usuario->pw_name;
  return "user " + std::to_string(uid);
}

std::string modo(mode_t m) {
  char texto[8];
  std::snprintf(texto, sizeof texto, "%o", static_cast<unsigned>(m & 07777));
  return texto;
}

// Who, besides eu, belongs to the group: its members, and those whose own group it is;
// nullopt when the system cannot say (no such group), which counts as shared.
std::optional<std::vector<std::string>> outrosNoGrupo(gid_t grupo, uid_t eu) {
  const group* g = getgrgid(grupo);
  if (g == nullptr) return std::nullopt;
  std::vector<std::string> outros;
  auto acrescentar = [&](const std::string& nome) {
    if (std::find(outros.begin(), outros.end(), nome) == outros.end()) outros.push_back(nome);
  };
  for (char** membro = g->gr_mem; *membro != nullptr; ++membro) {
    const passwd* usuario = getpwnam(*membro);
    if (usuario == nullptr || usuario->pw_uid != eu) acrescentar(*membro);
  }
  setpwent();
  while (const passwd* usuario = getpwent()) {
    if (usuario->pw_gid == grupo && usuario->pw_uid != eu) acrescentar(usuario->pw_name);
  }
  endpwent();
  return outros;
}

// Whether uid is in the group, as its own or as a member.
bool estaNoGrupo(uid_t uid, gid_t grupo) {
  const passwd* usuario = getpwuid(uid);
  if (usuario == nullptr) return true;  // unknown: assume the worst
  if (usuario->pw_gid == grupo) return true;
  const std::string nome = usuario->pw_name;
  const group* g = getgrgid(grupo);
  if (g == nullptr) return true;
  for (char** membro = g->gr_mem; *membro != nullptr; ++membro) {
    if (nome == *membro) return true;
  }
  return false;
}

std::string nomeDoGrupo(gid_t grupo) {
  if (const group* g = getgrgid(grupo)) return g->gr_name;
  return std::to_string(grupo);
}

// A POSIX ACL as Linux keeps it in the folder's extended attribute: a version (2) in 4
// bytes, then 8 bytes an entry: its tag and permissions (16 bits each) and the id of the
// user or group it names (32 bits), all little-endian.
constexpr char atributoDaAcl[] = "system.posix_acl_access";
enum : std::uint16_t {
  aclGrupoDono = 0x04,
  aclUsuario = 0x02,
  aclGrupo = 0x08,
  aclMascara = 0x10,
};
constexpr std::uint16_t aclEscrita = 0x02;
constexpr std::size_t tamanhoDoCabecalhoAcl = 4;
constexpr std::size_t tamanhoDaEntradaAcl = 8;

struct ENTRADA_ACL {
  std::uint16_t tipo;
  std::uint16_t permissoes;
  std::uint32_t id;
};

std::uint32_t deLittleEndian(const unsigned char* bytes, std::size_t tamanho) {
  std::uint32_t valor = 0;
  for (std::size_t i = tamanho; i-- > 0;) valor = (valor << 8) | bytes[i];
  return valor;
}

// The folder's ACL entries: none where it has no ACL (or its file system keeps none).
std::vector<ENTRADA_ACL> lerAcl(int pasta, const std::string& caminho) {
  std::array<unsigned char, 4096> bytes{};
  const ssize_t tamanho = fgetxattr(pasta, atributoDaAcl, bytes.data(), bytes.size());
  if (tamanho < 0) {
    if (errno == ENODATA || errno == ENOTSUP) return {};
    throw RECUSA{caminho, porque::sistema, "its ACL cannot be read: " + motivoDoSistema(errno)};
  }
  const auto lidos = static_cast<std::size_t>(tamanho);
  if (lidos < tamanhoDoCabecalhoAcl || (lidos - tamanhoDoCabecalhoAcl) % tamanhoDaEntradaAcl != 0) {
    throw RECUSA{caminho, porque::outroUsuario, "its ACL is in a form this install does not know"};
  }
  std::vector<ENTRADA_ACL> entradas;
  for (std::size_t i = tamanhoDoCabecalhoAcl; i < lidos; i += tamanhoDaEntradaAcl) {
    entradas.push_back({static_cast<std::uint16_t>(deLittleEndian(&bytes[i], 2)),
                        static_cast<std::uint16_t>(deLittleEndian(&bytes[i + 2], 2)),
                        deLittleEndian(&bytes[i + 4], 4)});
  }
  return entradas;
}

// Who besides the owner may write in a folder, as the kernel grants it: a group (its own,
// or one its ACL names), a user its ACL names, or everyone. With an ACL, the mode's group
// bits are the ACL's mask, and every entry but the owner's and others' is under it.
struct ESCRITA {
  enum QUEM { usuario, grupo, todos } quem;
  unsigned id = 0;
  bool pelaAcl = false;
};

std::vector<ESCRITA> quemMaisEscreve(int pasta, const struct stat& estado,
                                     const std::string& caminho) {
  const std::vector<ENTRADA_ACL> acl = lerAcl(pasta, caminho);
  std::uint16_t mascara = 07;
  for (const ENTRADA_ACL& entrada : acl) {
    if (entrada.tipo == aclMascara) mascara = entrada.permissoes;
  }
  std::vector<ESCRITA> escritas;
  if (acl.empty() && (estado.st_mode & S_IWGRP) != 0) {
    escritas.push_back({ESCRITA::grupo, estado.st_gid});
  }
  for (const ENTRADA_ACL& entrada : acl) {
    if ((entrada.permissoes & mascara & aclEscrita) == 0) continue;
    if (entrada.tipo == aclGrupoDono) escritas.push_back({ESCRITA::grupo, estado.st_gid, true});
    if (entrada.tipo == aclGrupo) escritas.push_back({ESCRITA::grupo, entrada.id, true});
    if (entrada.tipo == aclUsuario) escritas.push_back({ESCRITA::usuario, entrada.id, true});
  }
  if ((estado.st_mode & S_IWOTH) != 0) escritas.push_back({ESCRITA::todos});
  return escritas;
}

// Whether uid can write in the folder whose owner and writers these are.
bool podeEscrever(uid_t uid, const struct stat& estado, const std::vector<ESCRITA>& escritas) {
  if (uid == estado.st_uid && (estado.st_mode & S_IWUSR) != 0) return true;
  return std::any_of(escritas.begin(), escritas.end(), [&](const ESCRITA& e) {
    return e.quem == ESCRITA::todos || (e.quem == ESCRITA::usuario && e.id == uid) ||
           (e.quem == ESCRITA::grupo && estaNoGrupo(uid, e.id));
  });
}

// Why the writer e lets another user than eu (or root) change the folder: "" when it lets
// nobody else.
std::string porQueEscreve(const ESCRITA& e, const struct stat& estado, uid_t eu) {
  const std::string como = e.pelaAcl ? "by its ACL" : "mode " + modo(estado.st_mode);
  switch (e.quem) {
    case ESCRITA::todos:
      return "others can write in it (mode " + modo(estado.st_mode) + ")";
    case ESCRITA::usuario:
      if (e.id == eu || e.id == 0) return "";
      return nomeDoUsuario(e.id) + " can write in it (" + como + ")";
    case ESCRITA::grupo: {
      const auto outros = outrosNoGrupo(e.id, eu);
      const std::string grupo =
          "the group " + nomeDoGrupo(e.id) + " can write in it (" + como + ")";
      if (!outros) return grupo + ", and its members cannot be listed";
      if (outros->empty()) return "";  // a group of one's own lets nobody else in
      std::string quem;
      for (const std::string& nome : *outros) quem += (quem.empty() ? "" : ", ") + nome;
      return grupo + ", and " + quem + " belong" + (outros->size() == 1 ? "s" : "") + " to it";
    }
  }
  return "";
}

struct stat estadoDe(int descritor, const std::string& caminho) {
  struct stat estado {};
  if (fstat(descritor, &estado) != 0)
    throw RECUSA{caminho, porque::sistema, motivoDoSistema(errno)};
  return estado;
}

std::string juntar(const std::string& pasta, const std::string& nome) {
  return pasta == "/" ? "/" + nome : pasta + "/" + nome;
}

// The folder nome of pasta (at caminho), held and checked.
PASTA segurar(int pasta, const char* nome, const std::string& caminho, const GUARDA& guarda) {
  DESCRITOR segura(openat(pasta, nome, abrirPasta));
  if (!segura.aberto()) throw RECUSA{caminho, porque::sistema, motivoDoSistema(errno)};
  if (std::string quem = quemMaisPodeMudar(*segura, guarda); !quem.empty()) {
    throw RECUSA{caminho, porque::outroUsuario, quem};
  }
  return {std::move(segura), caminho};
}

// Holds the folder nome of the trail's last one, checked, as its new last.
void entrar(TRILHA* trilha, const std::string& nome, const GUARDA& guarda) {
  const PASTA& ultima = trilha->ultima();
  trilha->pastas.push_back(
      segurar(*ultima.descritor, nome.c_str(), juntar(ultima.caminho, nome), guarda));
}

PASTA abrirARaiz(const GUARDA& guarda) { return segurar(AT_FDCWD, "/", "/", guarda); }

// The one walk behind resolver and descer: nomes are taken from the front; a link's names
// are put there in its place.
void caminhar(TRILHA* trilha, std::vector<std::string> nomes, const GUARDA& guarda,
              const LINK_ACEITO& aceitar, const AO_SEGUIR_LINK& aoSeguir) {
  int links = 0;
  std::size_t proximo = 0;
  while (proximo < nomes.size()) {
    const std::string nome = nomes[proximo++];
    if (!trilha->faltam.empty()) {
      // Below a folder that does not exist yet nothing is a link: ".." takes a name off.
      if (nome == "..") {
        trilha->faltam.pop_back();
      } else {
        trilha->faltam.push_back(nome);
      }
      continue;
    }
    PASTA& ultima = trilha->pastas.back();
    if (nome == "..") {
      if (trilha->pastas.size() > 1) {
        trilha->pastas.pop_back();
      } else if (ultima.caminho != "/") {
        // The walk began below "/": the folder above is reached through the one held.
        const std::string acima = ultima.caminho.substr(0, ultima.caminho.rfind('/'));
        ultima = segurar(*ultima.descritor, "..", acima.empty() ? "/" : acima, guarda);
      }
      continue;
    }
    const std::string caminho = juntar(ultima.caminho, nome);
    struct stat estado {};
    if (fstatat(*ultima.descritor, nome.c_str(), &estado, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno != ENOENT) throw RECUSA{caminho, porque::sistema, motivoDoSistema(errno)};
      trilha->faltam.push_back(nome);
      continue;
    }
    if (S_ISDIR(estado.st_mode)) {
      entrar(trilha, nome, guarda);
      continue;
    }
    if (!S_ISLNK(estado.st_mode)) throw RECUSA{caminho, porque::naoEPasta};
    if (!aceitar(caminho)) throw RECUSA{caminho, porque::link};
    if (!guarda.confiar && estado.st_uid != guarda.eu && estado.st_uid != 0) {
      const struct stat daPasta = estadoDe(*ultima.descritor, ultima.caminho);
      if (podeEscrever(estado.st_uid, daPasta,
                       quemMaisEscreve(*ultima.descritor, daPasta, ultima.caminho))) {
        throw RECUSA{caminho, porque::outroUsuario,
                     "it is a link of " + nomeDoUsuario(estado.st_uid) +
                         "'s in a folder where its owner may write, and so point it elsewhere "
                         "at any moment"};
      }
    }
    if (++links > linksNumCaminho) throw RECUSA{caminho, porque::sistema, motivoDoSistema(ELOOP)};
    std::vector<char> destino(PATH_MAX + 1);
    const ssize_t tamanho =
        readlinkat(*ultima.descritor, nome.c_str(), destino.data(), destino.size());
    if (tamanho < 0 || static_cast<std::size_t>(tamanho) >= destino.size()) {
      throw RECUSA{caminho, porque::sistema, motivoDoSistema(tamanho < 0 ? errno : ENAMETOOLONG)};
    }
    const std::string alvo(destino.data(), static_cast<std::size_t>(tamanho));
    if (alvo.empty()) throw RECUSA{caminho, porque::sistema, motivoDoSistema(ENOENT)};
    const std::string pastaDoLink = ultima.caminho;
    if (alvo.front() == '/') {
      trilha->pastas.clear();
      trilha->pastas.push_back(abrirARaiz(guarda));
    }
    std::vector<std::string> resto = nomesDe(alvo);
    resto.insert(resto.end(), nomes.begin() + static_cast<long>(proximo), nomes.end());
    nomes = std::move(resto);
    proximo = 0;
    if (aoSeguir) {
      // Where it leads, as a trail of its own from "/".
      TRILHA ate;
      ate.pastas.push_back(abrirARaiz(guarda));
      std::string leva = alvo;
      if (alvo.front() != '/') leva = (pastaDoLink + "/").append(alvo);
      caminhar(&ate, nomesDe(leva), guarda, aceitar, nullptr);
      aoSeguir(caminho, ate.real());
    }
  }
}

// The words of each kind of refusal; the system's reason, where there is one, follows them.
struct TEXTO_DA_RECUSA {
  porque tipo;
  const char* texto;
};
constexpr TEXTO_DA_RECUSA textosDasRecusas[] = {
    {porque::sistema, ""},
    {porque::naoCriada, "it could not be created: "},
    {porque::naoEscrita, "it could not be written: "},
    {porque::outroUsuario, ""},
    {porque::naoEPasta, "it is not a folder"},
    {porque::link, "it is a link"},
    {porque::linkMudou, "it now leads elsewhere than when the install began"},
    {porque::origemMudou, "it changed while the install ran"},
    {porque::naoEArquivo, "it is not a regular file"},
    {porque::alheio, "a file this project did not write is there"},
    {porque::registroInvalido, "it cannot be used as an install record: "},
    {porque::registroDeOutraRaiz, "it is the record of an install into "},
};

}  // namespace

DESCRITOR& DESCRITOR::operator=(DESCRITOR&& outro) noexcept {
  if (this != &outro) {
    if (numero_ >= 0) close(numero_);
    numero_ = outro.numero_;
    outro.numero_ = -1;
  }
  return *this;
}

DESCRITOR::~DESCRITOR() {
  if (numero_ >= 0) close(numero_);
}

std::string motivoDoSistema(int erro) { return std::strerror(erro); }

std::string RECUSA::motivo() const {
  for (const TEXTO_DA_RECUSA& texto : textosDasRecusas) {
    if (texto.tipo == tipo) return texto.texto + detalhe;
  }
  return detalhe;
}

std::vector<std::string> nomesDe(const std::string& caminho) {
  std::vector<std::string> nomes;
  std::size_t inicio = 0;
  while (inicio <= caminho.size()) {
    std::size_t fim = caminho.find('/', inicio);
    if (fim == std::string::npos) fim = caminho.size();
    std::string nome = caminho.substr(inicio, fim - inicio);
    if (!nome.empty() && nome != ".") nomes.push_back(std::move(nome));
    inicio = fim + 1;
  }
  return nomes;
}

std::string TRILHA::real() const {
  std::string caminho = pastas.back().caminho;
  for (const std::string& nome : faltam) caminho = juntar(caminho, nome);
  return caminho;
}

std::string quemMaisPodeMudar(int pasta, const GUARDA& guarda) {
  if (guarda.confiar) return "";
  struct stat estado {};
  if (fstat(pasta, &estado) != 0) return "it cannot be examined: " + motivoDoSistema(errno);
  if (estado.st_uid != guarda.eu && estado.st_uid != 0) {
    return "it belongs to " + nomeDoUsuario(estado.st_uid);
  }
  // A sticky folder keeps others from moving or removing what is not theirs.
  if ((estado.st_mode & S_ISVTX) != 0) return "";
  try {
    for (const ESCRITA& escrita : quemMaisEscreve(pasta, estado, "")) {
      if (std::string motivo = porQueEscreve(escrita, estado, guarda.eu); !motivo.empty()) {
        return motivo;
      }
    }
  } catch (const RECUSA& recusa) {
    return recusa.motivo();
  }
  return "";
}

TRILHA resolver(const std::string& caminho, const GUARDA& guarda, const LINK_ACEITO& aceitar) {
  std::string absoluto = caminho;
  if (absoluto.empty() || absoluto.front() != '/') {
    std::vector<char> aqui(PATH_MAX + 1);
    if (getcwd(aqui.data(), aqui.size()) == nullptr) {
      throw RECUSA{"the working folder", porque::sistema, motivoDoSistema(errno)};
    }
    absoluto = std::string(aqui.data()) + "/" + absoluto;
  }
  TRILHA trilha;
  trilha.pastas.push_back(abrirARaiz(guarda));
  const LINK_ACEITO todos = [](const std::string&) { return true; };
  caminhar(&trilha, nomesDe(absoluto), guarda, aceitar ? aceitar : todos, nullptr);
  return trilha;
}

void descer(TRILHA* trilha, const std::string& relativo, const GUARDA& guarda,
            const LINK_ACEITO& aceitar, const AO_SEGUIR_LINK& aoSeguir) {
  caminhar(trilha, nomesDe(relativo), guarda, aceitar, aoSeguir);
}

void criarOQueFalta(TRILHA* trilha, const GUARDA& guarda) {
  while (!trilha->faltam.empty()) {
    const std::string nome = trilha->faltam.front();
    const PASTA& ultima = trilha->ultima();
    const std::string caminho = juntar(ultima.caminho, nome);
    const bool criada = mkdirat(*ultima.descritor, nome.c_str(), 0700) == 0;
    if (!criada && errno != EEXIST) {
      throw RECUSA{caminho, porque::naoCriada, motivoDoSistema(errno)};
    }
    // One made meanwhile by someone else is checked as any folder met on the way.
    entrar(trilha, nome, guarda);
    if (criada && fchmod(*trilha->ultima().descritor, 0755) != 0) {
      throw RECUSA{caminho, porque::sistema, motivoDoSistema(errno)};
    }
    trilha->faltam.erase(trilha->faltam.begin());
  }
}

}  // namespace velha::instalacao
