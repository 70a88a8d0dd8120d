#include "installer/arquivos.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "installer/pastas.h"
#include "installer/sha256.h"

namespace velha::instalacao {

bool lerEmBlocos(int descritor,
                 const std::function<bool(const unsigned char*, std::size_t)>& usar) {
  std::array<unsigned char, 65536> bloco{};
  for (;;) {
    const ssize_t lidos = read(descritor, bloco.data(), bloco.size());
    if (lidos < 0 && errno == EINTR) continue;
    if (lidos < 0) return false;
    if (lidos == 0 || !usar(bloco.data(), static_cast<std::size_t>(lidos))) return true;
  }
}

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

std::optional<std::string> lerTexto(int descritor) {
  std::string texto;
  const bool lido = lerEmBlocos(descritor, [&](const unsigned char* bytes, std::size_t tamanho) {
    texto.append(reinterpret_cast<const char*>(bytes), tamanho);
    return true;
  });
  if (!lido) return std::nullopt;
  return texto;
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

int remover(int pasta, const std::string& nome, const ACHADO& achado) {
  struct stat agora {};
  if (fstatat(pasta, nome.c_str(), &agora, AT_SYMLINK_NOFOLLOW) != 0) return errno;
  if (agora.st_dev != achado.dispositivo || agora.st_ino != achado.inode) return EBUSY;
  return unlinkat(pasta, nome.c_str(), 0) == 0 ? 0 : errno;
}

bool eDaInstalacao(const ACHADO& achado, const std::vector<ENTRADA>& entradas,
                   const std::string& caminho) {
  return achado.tipo == ACHADO::arquivo &&
         std::any_of(entradas.begin(), entradas.end(), [&](const ENTRADA& e) {
           return e.caminho == caminho && e.hash == achado.conteudo.hash &&
                  (e.tipo == tipoDeEntrada::arquivo ||
                   (e.tipo == tipoDeEntrada::escrevendo && e.tamanho == achado.conteudo.tamanho));
         });
}

// The copy is the one the record noted when it made it (its device and inode), no longer
// than the file was to be. Killed between making it and noting it, an install leaves it
// empty: an empty file there holds nothing to lose, and is taken for it.
bool eCopiaInacabada(const ACHADO& achado, const std::vector<ENTRADA>& entradas,
                     const std::string& caminho) {
  return achado.tipo == ACHADO::arquivo &&
         std::any_of(entradas.begin(), entradas.end(), [&](const ENTRADA& e) {
           const bool anotada =
               e.inode != 0 && e.dispositivo == achado.dispositivo && e.inode == achado.inode;
           return e.caminho == caminho && e.tipo == tipoDeEntrada::escrevendo &&
                  achado.conteudo.tamanho <= e.tamanho &&
                  (anotada || (e.inode == 0 && achado.conteudo.tamanho == 0));
         });
}

namespace {

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

}  // namespace

std::string descrever(const ACHADO& achado, bool naInstalacao) {
  for (const NOME_DO_ACHADO& nome : nomesDosAchados) {
    if (nome.tipo == achado.tipo) return naInstalacao ? nome.naInstalacao : nome.naDesinstalacao;
  }
  return motivoDoSistema(achado.erro);
}

}  // namespace velha::instalacao
