#include "installer/pastas.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

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

// Who, besides eu, belongs to the group: its members, and those whose own group it is.
std::vector<std::string> outrosNoGrupo(gid_t grupo, uid_t eu) {
  std::vector<std::string> outros;
  auto acrescentar = [&](const std::string& nome) {
    for (const std::string& ja : outros) {
      if (ja == nome) return;
    }
    outros.push_back(nome);
  };
  if (const group* g = getgrgid(grupo)) {
    for (char** membro = g->gr_mem; *membro != nullptr; ++membro) {
      const passwd* usuario = getpwnam(*membro);
      if (usuario == nullptr || usuario->pw_uid != eu) acrescentar(*membro);
    }
  }
  setpwent();
  while (const passwd* usuario = getpwent()) {
    if (usuario->pw_gid == grupo && usuario->pw_uid != eu) acrescentar(usuario->pw_name);
  }
  endpwent();
  return outros;
}

std::string nomeDoGrupo(gid_t grupo) {
  if (const group* g = getgrgid(grupo)) return g->gr_name;
  return std::to_string(grupo);
}

struct stat estadoDe(int descritor, const std::string& caminho) {
  struct stat estado {};
  if (fstat(descritor, &estado) != 0) throw RECUSA{caminho, motivoDoSistema(errno)};
  return estado;
}

std::string juntar(const std::string& pasta, const std::string& nome) {
  return pasta == "/" ? "/" + nome : pasta + "/" + nome;
}

// The folder nome of pasta (at caminho), held and checked.
PASTA segurar(int pasta, const char* nome, const std::string& caminho, const GUARDA& guarda) {
  DESCRITOR segura(openat(pasta, nome, abrirPasta));
  if (!segura.aberto()) throw RECUSA{caminho, motivoDoSistema(errno)};
  if (std::string quem = quemMaisPodeMudar(*segura, guarda); !quem.empty()) {
    throw RECUSA{caminho, quem, true};
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
      if (errno != ENOENT) throw RECUSA{caminho, motivoDoSistema(errno)};
      trilha->faltam.push_back(nome);
      continue;
    }
    if (S_ISDIR(estado.st_mode)) {
      entrar(trilha, nome, guarda);
      continue;
    }
    if (!S_ISLNK(estado.st_mode)) throw RECUSA{caminho, "it is not a folder"};
    if (!aceitar(caminho)) throw RECUSA{caminho, "it is a link"};
    if (!guarda.confiar && estado.st_uid != guarda.eu && estado.st_uid != 0 &&
        (estadoDe(*ultima.descritor, ultima.caminho).st_mode & S_ISVTX) != 0) {
      throw RECUSA{caminho,
                   "it is a link of " + nomeDoUsuario(estado.st_uid) +
                       "'s in a folder where others may write, and its owner may point it "
                       "elsewhere at any moment",
                   true};
    }
    if (++links > linksNumCaminho) throw RECUSA{caminho, motivoDoSistema(ELOOP)};
    std::vector<char> destino(PATH_MAX + 1);
    const ssize_t tamanho =
        readlinkat(*ultima.descritor, nome.c_str(), destino.data(), destino.size());
    if (tamanho < 0 || static_cast<std::size_t>(tamanho) >= destino.size()) {
      throw RECUSA{caminho, motivoDoSistema(tamanho < 0 ? errno : ENAMETOOLONG)};
    }
    const std::string alvo(destino.data(), static_cast<std::size_t>(tamanho));
    if (alvo.empty()) throw RECUSA{caminho, motivoDoSistema(ENOENT)};
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
  if ((estado.st_mode & S_IWOTH) != 0) {
    return "others can write in it (mode " + modo(estado.st_mode) + ")";
  }
  if ((estado.st_mode & S_IWGRP) != 0) {
    // A group of one's own (a user-private group, or root's staff with nobody in it)
    // lets nobody else in.
    const std::vector<std::string> outros = outrosNoGrupo(estado.st_gid, guarda.eu);
    if (!outros.empty()) {
      std::string quem;
      for (const std::string& nome : outros) quem += (quem.empty() ? "" : ", ") + nome;
      return "the group " + nomeDoGrupo(estado.st_gid) + " can write in it (mode " +
             modo(estado.st_mode) + "), and " + quem + " belong" + (outros.size() == 1 ? "s" : "") +
             " to it";
    }
  }
  return "";
}

TRILHA resolver(const std::string& caminho, const GUARDA& guarda, const LINK_ACEITO& aceitar) {
  std::string absoluto = caminho;
  if (absoluto.empty() || absoluto.front() != '/') {
    std::vector<char> aqui(PATH_MAX + 1);
    if (getcwd(aqui.data(), aqui.size()) == nullptr) {
      throw RECUSA{"the working folder", motivoDoSistema(errno)};
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
      throw RECUSA{caminho, "it could not be created: " + motivoDoSistema(errno)};
    }
    // One made meanwhile by someone else is checked as any folder met on the way.
    entrar(trilha, nome, guarda);
    if (criada && fchmod(*trilha->ultima().descritor, 0755) != 0) {
      throw RECUSA{caminho, motivoDoSistema(errno)};
    }
    trilha->faltam.erase(trilha->faltam.begin());
  }
}

}  // namespace velha::instalacao
