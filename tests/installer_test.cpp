// The install's rules, against a folder of the test's own: where it writes, what it takes
// for its own, whom it guards against. Cases that need another user run as root only.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <thread>

#include "installer/instalacao.h"
#include "installer/pastas.h"
#include "installer/registro.h"
#include "installer/sha256.h"

namespace velha::instalacao {
namespace {

namespace fs = std::filesystem;

class Instalacao : public ::testing::Test {
 protected:
  void SetUp() override {
    char modelo[] = "/tmp/velha-installer-test.XXXXXX";
    ASSERT_NE(mkdtemp(modelo), nullptr);
    pasta_ = fs::canonical(modelo);
    escrever(pasta_ / "build/seeker", "programa");
    escrever(pasta_ / "build/dicionario.txt", "10597 0\n");
  }
  void TearDown() override { fs::remove_all(pasta_); }

  static void escrever(const fs::path& caminho, const std::string& texto) {
    fs::create_directories(caminho.parent_path());
    std::ofstream(caminho, std::ios::binary) << texto;
  }
  static std::string ler(const fs::path& caminho) {
    std::ifstream arquivo(caminho, std::ios::binary);
    return {std::istreambuf_iterator<char>(arquivo), {}};
  }

  PEDIDO pedido(const fs::path& raiz) const {
    return {raiz.string(),
            (pasta_ / "records").string(),
            {{(pasta_ / "build/seeker").string(), "bin/seeker", 0755},
             {(pasta_ / "build/dicionario.txt").string(), "share/velha/dicionario.txt", 0644}}};
  }

  // Runs f with a stream for saida and one for erros; what erros got is kept in erros_.
  template <typename F>
  auto comSaidas(F f) {
    char* texto = nullptr;
    std::size_t tamanho = 0;
    std::FILE* erros = open_memstream(&texto, &tamanho);
    std::FILE* saida = std::fopen("/dev/null", "w");
    auto resultado = f(saida, erros);
    std::fclose(saida);
    std::fclose(erros);
    erros_ = std::string(texto, tamanho);
    std::free(texto);
    return resultado;
  }
  bool instalarEm(const PEDIDO& p) {
    return comSaidas([&](std::FILE* s, std::FILE* e) { return instalar(p, s, e); });
  }
  desinstalacao desinstalarTudo() {
    const std::string registros = (pasta_ / "records").string();
    return comSaidas(
        [&](std::FILE* s, std::FILE* e) { return desinstalar(registros, nullptr, s, e); });
  }
  static fs::path registroDe(const fs::path& raiz) {
    return fs::weakly_canonical(raiz) / pastaDoRegistro / nomeDoRegistro;
  }

  fs::path pasta_;
  std::string erros_;
};

TEST_F(Instalacao, EscreveOndeOSistemaResolveEDesfazTudo) {
  // A link, then "..": the kernel leaves where the link led, and so does the install.
  fs::create_directories(pasta_ / "far/away");
  fs::create_symlink(pasta_ / "far/away", pasta_ / "lnk");
  const fs::path raiz = pasta_ / "lnk/../d/usr";
  ASSERT_TRUE(instalarEm(pedido(raiz))) << erros_;
  EXPECT_EQ(ler(pasta_ / "far/d/usr/bin/seeker"), "programa");
  EXPECT_FALSE(fs::exists(pasta_ / "d"));
  EXPECT_EQ(fs::status(pasta_ / "far/d/usr/bin").permissions(), fs::perms(0755));
  EXPECT_EQ(fs::status(pasta_ / "far/d/usr/bin/seeker").permissions(), fs::perms(0755));
  EXPECT_EQ(desinstalarTudo(), desinstalacao::feita) << erros_;
  EXPECT_FALSE(fs::exists(pasta_ / "far/d"));
  EXPECT_TRUE(fs::exists(pasta_ / "far/away"));

  // A file already there that the install did not write stops it before anything is written.
  escrever(pasta_ / "far/d/usr/bin/seeker", "meu");
  EXPECT_FALSE(instalarEm(pedido(raiz)));
  EXPECT_NE(erros_.find("far/d/usr/bin/seeker: a file this project did not write"),
            std::string::npos)
      << erros_;
  EXPECT_EQ(ler(pasta_ / "far/d/usr/bin/seeker"), "meu");
  EXPECT_FALSE(fs::exists(pasta_ / "far/d/usr/share"));

  // Links that lead round in a loop end the walk, as the kernel ends it.
  fs::create_symlink(pasta_ / "laco2", pasta_ / "laco1");
  fs::create_symlink(pasta_ / "laco1", pasta_ / "laco2");
  EXPECT_FALSE(instalarEm(pedido(pasta_ / "laco1/p")));
  EXPECT_NE(erros_.find("Too many levels of symbolic links"), std::string::npos) << erros_;
}

TEST_F(Instalacao, UmaInstalacaoInterrompidaSoReconheceOQueIaEscrever) {
  const fs::path raiz = pasta_ / "p";
  ASSERT_TRUE(instalarEm(pedido(raiz))) << erros_;
  // As an install killed while copying leaves it: bin/seeker cut short under its provisional
  // name, noted by its inode; at the dictionary's provisional name a file of the user's, no
  // longer than the dictionary, and at its own name another.
  fs::remove(raiz / "bin/seeker");
  escrever(raiz / "bin/.seeker.velha-new", "prog");
  escrever(raiz / "share/velha/.dicionario.txt.velha-new", "meu");
  escrever(raiz / "share/velha/dicionario.txt", "#!/bin/sh\n");
  struct stat copia {};
  ASSERT_EQ(stat((raiz / "bin/.seeker.velha-new").c_str(), &copia), 0);
  REGISTRO registro{raiz.string(), {}};
  registro.entradas = {
      {tipoDeEntrada::escrevendo, "bin/seeker", sha256("programa"), 8, copia.st_dev, copia.st_ino},
      {tipoDeEntrada::escrevendo, "share/velha/dicionario.txt", sha256("10597 0\n"), 8},
      {tipoDeEntrada::pasta, "."}};
  std::ofstream(registroDe(raiz), std::ios::binary | std::ios::trunc) << textoDoRegistro(registro);

  // The user's files stop the next install, each named; the unfinished copy does not.
  EXPECT_FALSE(instalarEm(pedido(raiz)));
  EXPECT_NE(erros_.find("/dicionario.txt: a file this project did not write"), std::string::npos);
  EXPECT_NE(erros_.find(".dicionario.txt.velha-new: a file this project"), std::string::npos);
  EXPECT_EQ(erros_.find(".seeker.velha-new"), std::string::npos) << erros_;

  // The uninstall removes the unfinished copy and keeps the user's files.
  EXPECT_EQ(desinstalarTudo(), desinstalacao::algoFicou);
  EXPECT_NE(erros_.find("dicionario.txt: it was changed after the install"), std::string::npos);
  EXPECT_EQ(ler(raiz / "share/velha/dicionario.txt"), "#!/bin/sh\n");
  EXPECT_EQ(ler(raiz / "share/velha/.dicionario.txt.velha-new"), "meu");
  EXPECT_TRUE(fs::is_empty(raiz / "bin"));

  // Once they are moved away, the next install writes everything, and its record keeps no
  // entry of a file being written.
  fs::remove(raiz / "share/velha/dicionario.txt");
  fs::remove(raiz / "share/velha/.dicionario.txt.velha-new");
  ASSERT_TRUE(instalarEm(pedido(raiz))) << erros_;
  EXPECT_EQ(ler(raiz / "bin/seeker"), "programa");
  EXPECT_EQ(ler(registroDe(raiz)).find("\nwriting "), std::string::npos) << ler(registroDe(raiz));
}

TEST_F(Instalacao, PastasDoUsuarioFicamDele) {
  const fs::path raiz = pasta_ / "p";
  ASSERT_TRUE(instalarEm(pedido(raiz)));
  escrever(raiz / "share/velha/notas", "minhas");
  EXPECT_EQ(desinstalarTudo(), desinstalacao::feita) << erros_;
  EXPECT_EQ(ler(raiz / "share/velha/notas"), "minhas");
  // share/velha is the user's now: a later install and uninstall leave it, emptied or not.
  ASSERT_TRUE(instalarEm(pedido(raiz)));
  fs::remove(raiz / "share/velha/notas");
  EXPECT_EQ(desinstalarTudo(), desinstalacao::feita) << erros_;
  EXPECT_TRUE(fs::is_directory(raiz / "share/velha"));
  EXPECT_FALSE(fs::exists(raiz / "bin"));
  // A folder the install made that holds only the user's files, in an uninstall that keeps
  // something else, is no longer recorded: emptied later, it stays.
  fs::remove_all(raiz);
  ASSERT_TRUE(instalarEm(pedido(raiz)));
  escrever(raiz / "bin/notas", "minhas");
  escrever(raiz / "share/velha/dicionario.txt", "editado");
  EXPECT_EQ(desinstalarTudo(), desinstalacao::algoFicou);
  fs::remove(raiz / "bin/notas");
  escrever(raiz / "share/velha/dicionario.txt", "10597 0\n");
  EXPECT_EQ(desinstalarTudo(), desinstalacao::feita) << erros_;
  EXPECT_TRUE(fs::is_directory(raiz / "bin"));
  EXPECT_FALSE(fs::exists(raiz / "share"));
}

TEST_F(Instalacao, UmLinkDoUsuarioNoCaminhoSegueValendoDepoisDeUmaDesinstalacaoParcial) {
  const fs::path raiz = pasta_ / "p";
  fs::create_directories(pasta_ / "dotfiles/share");
  fs::create_directories(raiz);
  fs::create_directory_symlink(pasta_ / "dotfiles/share", raiz / "share");
  ASSERT_TRUE(instalarEm(pedido(raiz))) << erros_;
  EXPECT_EQ(ler(pasta_ / "dotfiles/share/velha/dicionario.txt"), "10597 0\n");
  // The dictionary, behind the link, edited: kept, and its record with it.
  escrever(raiz / "share/velha/dicionario.txt", "editado");
  EXPECT_EQ(desinstalarTudo(), desinstalacao::algoFicou);
  EXPECT_FALSE(fs::exists(raiz / "bin"));
  // The record kept for what is left still lets the uninstall through the link; what the
  // install made behind it goes, the link stays.
  escrever(raiz / "share/velha/dicionario.txt", "10597 0\n");
  EXPECT_EQ(desinstalarTudo(), desinstalacao::feita) << erros_;
  EXPECT_TRUE(fs::is_symlink(raiz / "share"));
  EXPECT_FALSE(fs::exists(pasta_ / "dotfiles/share/velha"));
  EXPECT_TRUE(fs::is_directory(pasta_ / "dotfiles/share"));
}

// A relative link to a folder not made yet: the install makes it through the link, and the
// uninstall removes what it made there, not the link, nor the user's folder beside it.
// Pointed elsewhere afterwards, to a copy of what it led to, the link stops the uninstall.
TEST_F(Instalacao, UmLinkRelativoLevaAoQueAInstalacaoFez) {
  const fs::path raiz = pasta_ / "q/p";
  fs::create_directories(raiz);
  fs::create_directories(pasta_ / "q/dados/share");
  fs::create_directory_symlink("../dados/m2", raiz / "share");
  ASSERT_TRUE(instalarEm(pedido(raiz))) << erros_;
  EXPECT_EQ(ler(pasta_ / "q/dados/m2/velha/dicionario.txt"), "10597 0\n");
  EXPECT_EQ(desinstalarTudo(), desinstalacao::feita) << erros_;
  EXPECT_FALSE(fs::exists(pasta_ / "q/dados/m2"));
  EXPECT_TRUE(fs::is_directory(pasta_ / "q/dados/share"));
  EXPECT_TRUE(fs::is_symlink(raiz / "share"));

  fs::create_directories(pasta_ / "q/dados/m2");
  ASSERT_TRUE(instalarEm(pedido(raiz))) << erros_;
  fs::copy(pasta_ / "q/dados", pasta_ / "dados", fs::copy_options::recursive);
  fs::remove(raiz / "share");
  fs::create_directory_symlink("../../dados/m2", raiz / "share");
  EXPECT_EQ(desinstalarTudo(), desinstalacao::algoFicou);
  EXPECT_NE(erros_.find("now leads elsewhere"), std::string::npos) << erros_;
  EXPECT_EQ(ler(pasta_ / "dados/m2/velha/dicionario.txt"), "10597 0\n");
  EXPECT_EQ(ler(raiz / "bin/seeker"), "programa");
}

// What may lie where the install wrote, by the time of the uninstall: each case changes
// the install into p, whose files the user's folder holds byte for byte; nothing of the
// user's changes, and what was changed is kept, with its reason.
TEST_F(Instalacao, ODesinstaladorNaoPassaPorLinksNemRemoveOQueMudou) {
  const fs::path raiz = pasta_ / "p";
  const fs::path usuario = pasta_ / "usuario";
  const struct {
    const char* nome;
    void (*mudar)(const fs::path& raiz, const fs::path& usuario);
    const char* motivo;
  } casos[] = {
      {"a folder replaced by a link to the user's",
       [](const fs::path& r, const fs::path& u) {
         fs::remove_all(r / "bin");
         fs::create_directory_symlink(u, r / "bin");
       },
       "is now a link"},
      {"the record's folder replaced by a link to a copy of it, in the user's",
       [](const fs::path& r, const fs::path& u) {
         fs::copy(r / "share/velha", u,
                  fs::copy_options::recursive | fs::copy_options::overwrite_existing);
         fs::remove_all(r / "share/velha");
         fs::create_directory_symlink(u, r / "share/velha");
       },
       "now leads elsewhere"},
      {"the root moved into the user's folder, a link in its place",
       [](const fs::path& r, const fs::path& u) {
         fs::rename(r, u / "copia");
         fs::create_directory_symlink(u / "copia", r);
       },
       "now leads to another place"},
      {"a file replaced by a link to the user's copy",
       [](const fs::path& r, const fs::path& u) {
         fs::remove(r / "bin/seeker");
         fs::create_symlink(u / "seeker", r / "bin/seeker");
       },
       "it is now a link"},
      {"a file replaced by a FIFO",
       [](const fs::path& r, const fs::path&) {
         fs::remove(r / "bin/seeker");
         ASSERT_EQ(mkfifo((r / "bin/seeker").c_str(), 0644), 0);
       },
       "it is no longer a regular file"},
      {"a file edited", [](const fs::path& r, const fs::path&) { escrever(r / "bin/seeker", "x"); },
       "it was changed after the install"},
  };
  for (const auto& caso : casos) {
    escrever(usuario / "seeker", "programa");
    escrever(usuario / "dicionario.txt", "10597 0\n");
    ASSERT_TRUE(instalarEm(pedido(raiz))) << erros_;
    caso.mudar(raiz, usuario);
    EXPECT_EQ(desinstalarTudo(), desinstalacao::algoFicou) << caso.nome;
    EXPECT_NE(erros_.find(caso.motivo), std::string::npos) << caso.nome << ": " << erros_;
    EXPECT_EQ(ler(usuario / "seeker"), "programa") << caso.nome;
    EXPECT_EQ(ler(usuario / "dicionario.txt"), "10597 0\n") << caso.nome;
    fs::remove_all(raiz);
    fs::remove_all(usuario);
    fs::remove_all(pasta_ / "records");
  }
}

// A record is used only whole, of its own root, and written by none but its user (or root):
// each case is a record as another could have left it, and the uninstall removes nothing.
TEST_F(Instalacao, RegistrosQueNaoSePodemLerNaoRemovemNada) {
  const fs::path raiz = pasta_ / "p";
  const std::string inteiro = [&] {
    EXPECT_TRUE(instalarEm(pedido(raiz)));
    return ler(registroDe(raiz));
  }();
  const std::string semFim = inteiro.substr(0, inteiro.size() - 4);
  const std::string fora = "file " + sha256("programa") + " ";
  const struct {
    std::string texto;
    mode_t modo = 0644;
    uid_t dono = 0;  // 0: the test's own
  } casos[] = {
      {semFim},                                       // cut before "end"
      {inteiro.substr(0, inteiro.find('\n') + 3)},    // cut in the root line
      {"velha install record 2\nroot 2\n/p\nend\n"},  // an earlier form
      {semFim + fora + "../x\nend\n"},                // outside the root
      {semFim + fora + "/tmp/x\nend\n"},
      {semFim + "file " + sha256("x").substr(1) + " bin/x\nend\n"},  // a hash cut short
      {inteiro + "file " + sha256("x") + " bin/x\n"},                // a line after "end"
      {"velha install record 3\nroot 2\n/p\nend\n"},                 // another root's
      {inteiro, 0646},                                               // others could have written it
      {inteiro, 0644, 65534},                                        // another user's
  };
  for (const auto& caso : casos) {
    if (caso.dono != 0 && geteuid() != 0) continue;  // only root can give a file away
    std::ofstream(registroDe(raiz), std::ios::binary | std::ios::trunc) << caso.texto;
    ASSERT_EQ(chmod(registroDe(raiz).c_str(), caso.modo), 0);
    if (caso.dono != 0) {
      ASSERT_EQ(chown(registroDe(raiz).c_str(), caso.dono, 0), 0);
    }
    EXPECT_EQ(desinstalarTudo(), desinstalacao::algoFicou) << caso.texto;
    EXPECT_EQ(ler(raiz / "bin/seeker"), "programa") << caso.texto;
    EXPECT_EQ(ler(registroDe(raiz)), caso.texto);
    fs::remove(registroDe(raiz));
  }
  // A record cut short under its provisional name, as a killed write leaves it, is replaced
  // by the next install; a file of the user's there stops it.
  const fs::path provisorio = registroDe(raiz).string() + ".new";
  std::ofstream(registroDe(raiz), std::ios::binary) << inteiro;
  escrever(provisorio, "meu");
  EXPECT_FALSE(instalarEm(pedido(raiz)));
  EXPECT_NE(erros_.find("install-record.new: a file this project did not write"), std::string::npos)
      << erros_;
  EXPECT_EQ(ler(provisorio), "meu");
  escrever(provisorio, inteiro.substr(0, 30));
  EXPECT_TRUE(instalarEm(pedido(raiz))) << erros_;
  EXPECT_FALSE(fs::exists(provisorio));
  EXPECT_EQ(desinstalarTudo(), desinstalacao::feita) << erros_;
  EXPECT_FALSE(fs::exists(raiz));
  EXPECT_EQ(desinstalarTudo(), desinstalacao::nada) << erros_;

  // The build's records folder, where it lists its roots and takes turns, is no link.
  fs::rename(pasta_ / "records", pasta_ / "outros");
  fs::create_directory_symlink(pasta_ / "outros", pasta_ / "records");
  EXPECT_FALSE(instalarEm(pedido(raiz)));
  EXPECT_NE(erros_.find("records cannot be used"), std::string::npos) << erros_;
  EXPECT_FALSE(fs::exists(raiz));
}

// Installs and uninstalls of one build take turns: while another holds the records folder's
// lock, an install waits, and so does an uninstall.
TEST_F(Instalacao, UmaInstalacaoEsperaAVezDaOutra) {
  fs::create_directories(pasta_ / "records");
  DESCRITOR cadeado(open((pasta_ / "records/lock").c_str(), O_RDWR | O_CREAT, 0644));
  std::FILE* nada = std::fopen("/dev/null", "w");
  const fs::path raiz = pasta_ / "p";
  const struct {
    std::function<void()> fazer;
    bool instalada;  // whether p is installed while it waits
  } casos[] = {
      {[&] { instalar(pedido(raiz), nada, stderr); }, false},
      {[&] { desinstalar((pasta_ / "records").string(), nullptr, nada, stderr); }, true},
  };
  for (const auto& caso : casos) {
    ASSERT_EQ(flock(*cadeado, LOCK_EX), 0);
    std::atomic<bool> terminou = false;
    std::thread outra([&] {
      caso.fazer();
      terminou = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(terminou);
    EXPECT_EQ(fs::exists(raiz / "bin/seeker"), caso.instalada);
    flock(*cadeado, LOCK_UN);
    outra.join();
    EXPECT_EQ(fs::exists(raiz / "bin/seeker"), !caso.instalada);
  }
  std::fclose(nada);
}

// SHA-256 against published answers: the empty text, one block, two, and a million bytes
// fed in pieces that cross blocks.
TEST(Sha256, DaAsRespostasPublicadas) {
  EXPECT_EQ(sha256(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(sha256("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(sha256("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  SHA256 soma;
  const std::string pedaco(1000, 'a');
  for (int i = 0; i < 1000; ++i) {
    soma.acrescentar(reinterpret_cast<const unsigned char*>(pedaco.data()), pedaco.size());
  }
  EXPECT_EQ(soma.hex(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// Who could change a folder on the way: each case a folder's owner, group and mode, and
// whether the install is refused there.
TEST_F(Instalacao, OutroUsuarioQuePodeMudarUmaPastaRecusaAInstalacao) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to make folders of other users";
  // getgrnam's answer lasts until its next call: the numbers are taken at once.
  const gid_t ninguem = getgrnam("nogroup") ? getgrnam("nogroup")->gr_gid : 65534;
  const gid_t equipe =
      getgrnam("staff") ? getgrnam("staff")->gr_gid : 0;  // older Debian's /usr/local
  // A POSIX ACL (as its extended attribute holds it) that gives one more entry, of the tag
  // named (0x02 a user, 0x08 a group), the rights rwx, under the mask given.
  struct ACL {
    std::uint16_t tipo;
    std::uint32_t id;
    std::uint16_t mascara;
  };
  auto comAcl = [](const fs::path& pasta, const ACL& acl) {
    // The kernel takes the entries in the order of their tags.
    std::vector<std::array<std::uint32_t, 2>> entradas = {{0x01 | (07 << 16), 0},
                                                          {acl.tipo | (07U << 16), acl.id},
                                                          {0x04 | (05 << 16), 0},
                                                          {0x10 | (unsigned(acl.mascara) << 16), 0},
                                                          {0x20 | (05 << 16), 0}};
    std::sort(entradas.begin(), entradas.end(),
              [](const auto& a, const auto& b) { return (a[0] & 0xffff) < (b[0] & 0xffff); });
    std::string bytes;
    auto le = [&](std::uint32_t valor) {
      for (int i = 0; i < 4; ++i) bytes += static_cast<char>((valor >> (8 * i)) & 0xff);
    };
    le(2);
    for (const auto& entrada : entradas) {
      le(entrada[0]);
      le(entrada[1]);
    }
    return setxattr(pasta.c_str(), "system.posix_acl_access", bytes.data(), bytes.size(), 0) == 0;
  };
  const struct {
    const char* nome;
    uid_t dono;
    gid_t grupo;
    mode_t modo;
    std::optional<ACL> acl;
    const char* recusa;  // nullptr when accepted
  } casos[] = {
      {"root's 2775, a group nobody else is in", 0, equipe, 02775, {}, nullptr},
      {"others may write", 0, 0, 0777, {}, "others can write in it (mode 777)"},
      {"sticky", 0, 0, 01777, {}, nullptr},
      {"another user's", 65534, 0, 0755, {}, "it belongs to"},
      {"a group others are in",
       0,
       ninguem,
       0775,
       {},
       "the group nogroup can write in it (mode 775)"},
      {"a group the system cannot list", 0, 4242, 0775, {}, "its members cannot be listed"},
      {"an ACL entry for another user", 0, 0, 0755, ACL{0x02, 65534, 07},
       "nobody can write in it (by its ACL)"},
      {"an ACL entry for a group others are in", 0, 0, 0755, ACL{0x08, ninguem, 07},
       "the group nogroup can write in it (by its ACL), and "},
      {"an ACL entry whose write the mask takes away", 0, 0, 0755, ACL{0x02, 65534, 05}, nullptr},
  };
  for (const auto& caso : casos) {
    const fs::path raiz = pasta_ / "p";
    fs::create_directories(raiz / "share/velha");
    ASSERT_EQ(chown((raiz / "share/velha").c_str(), caso.dono, caso.grupo), 0);
    ASSERT_EQ(chmod((raiz / "share/velha").c_str(), caso.modo), 0);
    if (caso.acl && !comAcl(raiz / "share/velha", *caso.acl)) {
      ADD_FAILURE() << caso.nome << ": this file system keeps no ACL: " << std::strerror(errno);
    }
    EXPECT_EQ(instalarEm(pedido(raiz)), caso.recusa == nullptr) << caso.nome << erros_;
    if (caso.recusa != nullptr) {
      EXPECT_NE(erros_.find("another user could change " + (raiz / "share/velha").string()),
                std::string::npos)
          << erros_;
      EXPECT_NE(erros_.find(caso.recusa), std::string::npos) << erros_;
      EXPECT_FALSE(fs::exists(raiz / "bin")) << caso.nome;
    }
    fs::remove_all(pasta_ / "records");
    fs::remove_all(raiz);
  }
}

TEST_F(Instalacao, UmLinkDeOutroNumaPastaComumSoSeSegueSeForDeRootOuMeu) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to make another user's link";
  fs::create_directories(pasta_ / "comum");
  fs::create_directories(pasta_ / "real");
  ASSERT_EQ(chmod((pasta_ / "comum").c_str(), 01777), 0);
  fs::create_symlink(pasta_ / "real", pasta_ / "comum/link");
  for (const uid_t dono : {65534U, 0U}) {
    ASSERT_EQ(lchown((pasta_ / "comum/link").c_str(), dono, 0), 0);
    EXPECT_EQ(instalarEm(pedido(pasta_ / "comum/link/pfx")), dono == 0) << erros_;
    EXPECT_EQ(fs::exists(pasta_ / "real/pfx"), dono == 0);
  }
  EXPECT_NE(ler(registroDe(pasta_ / "real/pfx")), "");
}

}  // namespace
}  // namespace velha::instalacao
