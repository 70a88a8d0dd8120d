// The install's rules, against a folder of the test's own: where it writes, what it takes
// for its own, whom it guards against. Cases that need another user run as root only.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "installer/instalacao.h"
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
  fs::path registroDe(const fs::path& raiz) const {
    return pasta_ / "records" / (sha256(fs::weakly_canonical(raiz).string()) + ".txt");
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
}

TEST_F(Instalacao, UmaInstalacaoInterrompidaSoReconheceOQueIaEscrever) {
  const fs::path raiz = pasta_ / "p";
  ASSERT_TRUE(instalarEm(pedido(raiz))) << erros_;
  // As an install killed while copying leaves it: entries "writing", one file cut short
  // under its provisional name, and one that the user put where the other was to go.
  REGISTRO registro{raiz.string(), {}};
  const std::string programa = sha256("programa");
  registro.entradas = {
      {tipoDeEntrada::escrevendo, "bin/seeker", programa, 8},
      {tipoDeEntrada::escrevendo, "share/velha/dicionario.txt", sha256("10597 0\n"), 8},
      {tipoDeEntrada::pasta, ".", "", 0}};
  std::ofstream(registroDe(raiz), std::ios::binary) << textoDoRegistro(registro);
  fs::remove(raiz / "bin/seeker");
  escrever(raiz / "bin/.seeker.velha-new", "prog");
  escrever(raiz / "share/velha/dicionario.txt", "#!/bin/sh\n");

  const std::string interrompido = textoDoRegistro(registro);
  EXPECT_FALSE(instalarEm(pedido(raiz)));
  EXPECT_NE(erros_.find("dicionario.txt: a file this project did not write"), std::string::npos);
  EXPECT_EQ(erros_.find(".velha-new"), std::string::npos) << erros_;

  // Once the user's file is moved away, the next install takes the unfinished one's place.
  fs::rename(raiz / "share/velha/dicionario.txt", pasta_ / "script");
  ASSERT_TRUE(instalarEm(pedido(raiz))) << erros_;
  EXPECT_EQ(ler(raiz / "bin/seeker"), "programa");
  EXPECT_FALSE(fs::exists(raiz / "bin/.seeker.velha-new"));

  // The uninstall, likewise, removes the unfinished copy and keeps the user's file.
  std::ofstream(registroDe(raiz), std::ios::binary | std::ios::trunc) << interrompido;
  fs::remove(raiz / "bin/seeker");
  escrever(raiz / "bin/.seeker.velha-new", "prog");
  fs::rename(pasta_ / "script", raiz / "share/velha/dicionario.txt");
  EXPECT_EQ(desinstalarTudo(), desinstalacao::algoFicou);
  EXPECT_NE(erros_.find("dicionario.txt: it was changed after the install"), std::string::npos);
  EXPECT_EQ(ler(raiz / "share/velha/dicionario.txt"), "#!/bin/sh\n");
  EXPECT_TRUE(fs::is_empty(raiz / "bin"));
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
}

TEST_F(Instalacao, UmLinkDoUsuarioNoCaminhoSegueValendoDepoisDeUmaDesinstalacaoParcial) {
  const fs::path raiz = pasta_ / "p";
  fs::create_directories(pasta_ / "dotfiles/share");
  fs::create_directories(raiz);
  fs::create_directory_symlink(pasta_ / "dotfiles/share", raiz / "share");
  ASSERT_TRUE(instalarEm(pedido(raiz))) << erros_;
  EXPECT_EQ(ler(pasta_ / "dotfiles/share/velha/dicionario.txt"), "10597 0\n");
  escrever(raiz / "bin/seeker", "editado");
  EXPECT_EQ(desinstalarTudo(), desinstalacao::algoFicou);
  EXPECT_FALSE(fs::exists(pasta_ / "dotfiles/share/velha"));
  // The record kept for what is left still lets the uninstall through the link.
  escrever(raiz / "bin/seeker", "programa");
  EXPECT_EQ(desinstalarTudo(), desinstalacao::feita) << erros_;
  EXPECT_TRUE(fs::is_symlink(raiz / "share"));
  EXPECT_FALSE(fs::exists(raiz / "bin"));
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
         fs::remove_all(r / "share/velha");
         fs::create_directory_symlink(u, r / "share/velha");
       },
       "is now a link"},
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

TEST_F(Instalacao, RegistrosQueNaoSePodemLerNaoRemovemNada) {
  const fs::path raiz = pasta_ / "p";
  const std::string inteiro = [&] {
    EXPECT_TRUE(instalarEm(pedido(raiz)));
    return ler(registroDe(raiz));
  }();
  const std::string fora = "file " + sha256("programa") + " ";
  const std::string casos[] = {
      inteiro.substr(0, inteiro.size() - 4),                         // cut before "end"
      inteiro.substr(0, inteiro.find('\n') + 3),                     // cut in the root line
      "velha install record\nroot 2\n/p\nreal 2\n/p\nend\n",         // an earlier form
      inteiro.substr(0, inteiro.size() - 4) + fora + "../x\nend\n",  // outside the root
      inteiro.substr(0, inteiro.size() - 4) + fora + "/tmp/x\nend\n",
      "velha install record 2\nroot 1\np\nend\n",  // a relative root
  };
  for (const std::string& caso : casos) {
    std::ofstream(registroDe(raiz), std::ios::binary | std::ios::trunc) << caso;
    EXPECT_EQ(desinstalarTudo(), desinstalacao::algoFicou) << caso;
    EXPECT_EQ(ler(raiz / "bin/seeker"), "programa") << caso;
    EXPECT_EQ(ler(registroDe(raiz)), caso);
  }
  std::ofstream(registroDe(raiz), std::ios::binary | std::ios::trunc) << inteiro;
  EXPECT_EQ(desinstalarTudo(), desinstalacao::feita) << erros_;
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
