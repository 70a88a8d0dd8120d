// Folders held open: a path walked from "/" as the kernel walks it, each folder checked as
// it is reached and kept open, so that what follows acts on it and not on a name.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace velha::instalacao {

// Why a step was refused, each kind once: its words stand in one table (pastas.cpp), and
// callers tell kinds apart by this, never by the words.
enum class porque {
  sistema,              // the system's own reason, in detalhe
  naoCriada,            // a folder that could not be made: the system's reason in detalhe
  naoEscrita,           // a file that could not be written: the system's reason in detalhe
  outroUsuario,         // another user than eu and root could change onde: detalhe says how
  naoEPasta,            // something else than a folder where one is needed
  link,                 // a link where none may be followed
  linkMudou,            // a link the record names now leads elsewhere
  origemMudou,          // a file to install changed while the install ran
  naoEArquivo,          // something else than a regular file where a record is read
  alheio,               // a file this project did not write, at a name it writes
  registroInvalido,     // no whole record: detalhe says why
  registroDeOutraRaiz,  // a whole record, of an install into the root in detalhe
};

struct RECUSA {
  std::string onde;
  porque tipo = porque::sistema;
  std::string detalhe{};
  std::string motivo() const;  // the reason in words, as "onde: motivo" says it
};

class DESCRITOR {
 public:
  DESCRITOR() = default;
  explicit DESCRITOR(int numero) : numero_(numero) {}
  DESCRITOR(DESCRITOR&& outro) noexcept : numero_(outro.numero_) { outro.numero_ = -1; }
  DESCRITOR& operator=(DESCRITOR&& outro) noexcept;
  DESCRITOR(const DESCRITOR&) = delete;
  DESCRITOR& operator=(const DESCRITOR&) = delete;
  ~DESCRITOR();
  int operator*() const { return numero_; }
  bool aberto() const { return numero_ >= 0; }

 private:
  int numero_ = -1;
};

struct PASTA {
  DESCRITOR descritor;
  std::string caminho;  // its real path
};

// Whose changes a walk guards against: another user than eu and root. Off (confiar) for a
// package's staging root, which is the builder's alone.
struct GUARDA {
  uid_t eu;
  bool confiar = false;
};

// A link met on the way: where it is (its real path) and the real path it leads to.
using AO_SEGUIR_LINK = std::function<void(const std::string& onde, const std::string& real)>;
// Whether a link may be followed at all (the uninstall follows only those it recorded).
using LINK_ACEITO = std::function<bool(const std::string& onde)>;

// A path resolved as far as it exists: the folders held, from "/" (or from where the walk
// started) down, and the names below the last one that do not exist yet.
struct TRILHA {
  std::vector<PASTA> pastas;
  std::vector<std::string> faltam;

  const PASTA& ultima() const { return pastas.back(); }
  // The real path the whole trail has, or will have once the missing folders are made.
  std::string real() const;
};

// Walks caminho (relative ones from the working folder) from "/", as the kernel would:
// ".." after a link leaves where the link led. Every folder reached must be safe (below);
// a link is followed when it is eu's or root's, or its folder is not sticky (a sticky
// folder's other users could point their link elsewhere at any moment). Throws RECUSA.
// aceitar, when given, says which links may be followed at all (the uninstall: none).
TRILHA resolver(const std::string& caminho, const GUARDA& guarda,
                const LINK_ACEITO& aceitar = nullptr);

// Walks the plain names of relativo down from the trail's last folder, which it appends.
// A link there is followed only when aceitar says so (then aoSeguir hears of it).
void descer(TRILHA* trilha, const std::string& relativo, const GUARDA& guarda,
            const LINK_ACEITO& aceitar, const AO_SEGUIR_LINK& aoSeguir);

// Makes the trail's missing folders, 0755 whatever the umask, each checked and held.
void criarOQueFalta(TRILHA* trilha, const GUARDA& guarda);

// Why another user than guarda.eu and root could change what the folder holds: "" when
// none could (see instalacao.h's rules).
std::string quemMaisPodeMudar(int pasta, const GUARDA& guarda);

// The names of a path, "" and "." left out.
std::vector<std::string> nomesDe(const std::string& caminho);

// The system's words for errno.
std::string motivoDoSistema(int erro);

}  // namespace velha::instalacao
