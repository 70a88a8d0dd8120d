// The uninstall: from a root, reaches its record through folders held to the install's
// rules, and removes what the record names, only while it is what the install wrote.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>

#include "installer/arquivos.h"
#include "installer/instalacao.h"
#include "installer/registros.h"
#include "installer/sha256.h"

namespace velha::instalacao {
namespace {

// Whether the folder relativo lies on the way from the root to the record, which goes last.
bool noCaminhoDoRegistro(const std::string& relativo) {
  const std::string pasta = pastaDoRegistro;
  return pasta == relativo || pasta.starts_with(relativo + "/");
}

class DESINSTALACAO {
 public:
  DESINSTALACAO(std::FILE* saida, std::FILE* erros)
      : saida_(saida), erros_(erros), guarda_{geteuid()} {}

  desinstalacao executar(const std::string& raiz);

 private:
  void manter(const std::string& oQue, const std::string& porQue) {
    std::fprintf(erros_, "Kept %s: %s\n", oQue.c_str(), porQue.c_str());
    ++mantidos_;
  }
  void manterPorRecusa(const std::string& oQue, const RECUSA& recusa, const std::string& depois);
  bool acharORegistro();
  std::optional<TRILHA> pastaAte(const std::string& relativo, bool eLaMesma);
  void removerArquivo(const std::string& caminho);
  void removerPasta(const std::string& relativo);
  void removerAcimaDaRaiz();
  void ficar(const std::string& relativo) { ficam_.push_back({tipoDeEntrada::pasta, relativo}); }

  std::FILE* saida_;
  std::FILE* erros_;
  GUARDA guarda_;
  REGISTRO registro_;
  std::optional<TRILHA> raiz_;
  std::optional<TRILHA> doRegistro_;
  std::vector<ENTRADA> ficam_;
  int mantidos_ = 0;
};

void DESINSTALACAO::manterPorRecusa(const std::string& oQue, const RECUSA& recusa,
                                    const std::string& depois) {
  if (recusa.tipo == porque::outroUsuario) {
    manter(oQue, "another user could change " + recusa.onde + " while this runs (" +
                     recusa.motivo() + "), and so make it remove what is not the install's" +
                     depois);
  } else if (recusa.tipo == porque::link) {
    manter(oQue, "a folder on its way from " + registro_.raiz + " is now a link" + depois);
  } else {
    manter(oQue, recusa.onde + ": " + recusa.motivo() + depois);
  }
}

// The record, in its folder below the root, reached through links the rules let be
// followed and then held to those the record names: false where there is none.
bool DESINSTALACAO::acharORegistro() {
  doRegistro_ = aPartirDe(raiz_->ultima());
  std::vector<ENTRADA> links;
  descerAnotandoLinks(&*doRegistro_, pastaDoRegistro, guarda_, registro_.raiz, &links);
  if (!doRegistro_->faltam.empty()) return false;
  std::optional<REGISTRO> registro = lerRegistroEm(doRegistro_->ultima(), registro_.raiz, guarda_);
  if (!registro) return false;
  for (const ENTRADA& link : links) {
    if (std::find(registro->entradas.begin(), registro->entradas.end(), link) ==
        registro->entradas.end()) {
      throw RECUSA{abaixo(registro_.raiz, link.caminho), porque::linkMudou};
    }
  }
  registro_ = *registro;
  return true;
}

// The folder of relativo (relativo itself when eLaMesma), below the root through no link
// but those the record names, still leading where they led; nullopt when it is gone, and
// also when it cannot be reached (said, and kept, here).
std::optional<TRILHA> DESINSTALACAO::pastaAte(const std::string& relativo, bool eLaMesma) {
  TRILHA trilha = aPartirDe(raiz_->ultima());
  try {
    descerPelosLinksDoRegistro(&trilha, eLaMesma ? relativo : pastaDe(relativo), guarda_,
                               registro_);
  } catch (const RECUSA& recusa) {
    manterPorRecusa(abaixo(registro_.raiz, relativo), recusa, "");
    return std::nullopt;
  }
  if (!trilha.faltam.empty()) return std::nullopt;
  return trilha;
}

void DESINSTALACAO::removerArquivo(const std::string& relativo) {
  const int mantidosAntes = mantidos_;
  const std::string caminho = abaixo(registro_.raiz, relativo);
  std::optional<TRILHA> trilha = pastaAte(relativo, false);
  if (trilha) {
    const int pasta = *trilha->ultima().descritor;
    const std::string nome = nomeDe(relativo);
    // The unfinished copy of an install that stopped, beside it.
    const std::string provisorio = nomeProvisorio(nome);
    const ACHADO inacabado = examinar(pasta, provisorio);
    if (eCopiaInacabada(inacabado, registro_.entradas, relativo)) {
      if (const int erro = remover(pasta, provisorio, inacabado); erro != 0) {
        manter(abaixo(trilha->ultima().caminho, provisorio),
               "it could not be removed: " + motivoDoSistema(erro));
      }
    }
    const ACHADO ali = examinar(pasta, nome);
    if (ali.tipo == ACHADO::nada) {
      std::fprintf(saida_, "-- Already gone: %s\n", caminho.c_str());
    } else if (!eDaInstalacao(ali, registro_.entradas, relativo)) {
      manter(caminho, descrever(ali, false));
    } else if (const int erro = remover(pasta, nome, ali); erro != 0) {
      manter(caminho, "it could not be removed: " + motivoDoSistema(erro));
    } else {
      std::fprintf(saida_, "-- Removed %s\n", caminho.c_str());
    }
  } else if (mantidos_ == mantidosAntes) {
    std::fprintf(saida_, "-- Already gone: %s\n", caminho.c_str());
  }
  if (mantidos_ != mantidosAntes) {
    for (const ENTRADA& entrada : registro_.entradas) {
      if (entrada.caminho == relativo && entrada.tipo != tipoDeEntrada::pasta) {
        ficam_.push_back(entrada);
      }
    }
  }
}

// The folder the install made at relativo, reached the way it was made: where a link
// led there, the folder it leads to, never the link. rmdir removes it only when it is
// empty. One that holds what this uninstall kept stays recorded, to go with it next time;
// one that holds only someone else's files is theirs now: kept, and no longer recorded.
void DESINSTALACAO::removerPasta(const std::string& relativo) {
  std::optional<TRILHA> trilha = pastaAte(relativo, true);
  if (!trilha) {
    if (mantidos_ > 0) ficar(relativo);
    return;
  }
  const PASTA ela = std::move(trilha->pastas.back());
  trilha->pastas.pop_back();
  const int acima = *trilha->ultima().descritor;
  const std::string nome = nomeDe(ela.caminho);
  struct stat segura {};
  struct stat ali {};
  if (fstat(*ela.descritor, &segura) != 0 ||
      fstatat(acima, nome.c_str(), &ali, AT_SYMLINK_NOFOLLOW) != 0 || segura.st_dev != ali.st_dev ||
      segura.st_ino != ali.st_ino) {
    return;  // gone meanwhile, or another in its place: nothing of the install's
  }
  if (unlinkat(acima, nome.c_str(), AT_REMOVEDIR) == 0) {
    std::fprintf(saida_, "-- Removed folder %s\n", ela.caminho.c_str());
    return;
  }
  if (errno == ENOENT) return;
  const bool guardaOQueFicou = std::any_of(ficam_.begin(), ficam_.end(), [&](const ENTRADA& e) {
    return e.tipo != tipoDeEntrada::link && e.caminho.starts_with(relativo + "/");
  });
  if ((errno == ENOTEMPTY || errno == EEXIST) && guardaOQueFicou) {
    std::fprintf(saida_, "-- Kept folder %s: it holds what was kept\n", ela.caminho.c_str());
    ficar(relativo);
  } else if (errno == ENOTEMPTY || errno == EEXIST) {
    std::fprintf(saida_, "-- Kept folder %s: it holds files the install did not write\n",
                 ela.caminho.c_str());
  } else {
    manter("folder " + ela.caminho, "it could not be removed: " + motivoDoSistema(errno));
    ficar(relativo);
  }
}

// The root and the folders the install made above it, nearest first, while the record
// names them and they are empty.
void DESINSTALACAO::removerAcimaDaRaiz() {
  std::string relativo = ".";
  for (std::size_t indice = raiz_->pastas.size() - 1; indice > 0; --indice) {
    const bool criada = std::any_of(
        registro_.entradas.begin(), registro_.entradas.end(),
        [&](const ENTRADA& e) { return e.tipo == tipoDeEntrada::pasta && e.caminho == relativo; });
    if (!criada) return;
    const std::string& caminho = raiz_->pastas[indice].caminho;
    if (unlinkat(*raiz_->pastas[indice - 1].descritor, nomeDe(caminho).c_str(), AT_REMOVEDIR) !=
        0) {
      if (errno == ENOTEMPTY || errno == EEXIST) {
        std::fprintf(saida_, "-- Kept folder %s: it holds files the install did not write\n",
                     caminho.c_str());
      } else if (errno != ENOENT) {
        std::fprintf(erros_, "Kept folder %s: it could not be removed: %s\n", caminho.c_str(),
                     motivoDoSistema(errno).c_str());
      }
      return;
    }
    std::fprintf(saida_, "-- Removed folder %s\n", caminho.c_str());
    if (relativo == ".") {
      relativo = "..";
    } else {
      relativo += "/..";
    }
  }
}

desinstalacao DESINSTALACAO::executar(const std::string& raiz) {
  registro_.raiz = raiz;
  const std::string caminhoDoRegistro =
      abaixo(raiz, std::string(pastaDoRegistro) + "/" + nomeDoRegistro);
  try {
    // The root is held through its real path alone: a link on the way now means that it
    // lies elsewhere than where the install wrote.
    raiz_ = resolver(raiz, guarda_, [](const std::string&) { return false; });
  } catch (const RECUSA& recusa) {
    if (recusa.tipo == porque::outroUsuario) {
      manterPorRecusa(raiz, recusa, "; nothing of it was removed");
    } else {
      manter(raiz, "it, or a folder above it, now leads to another place (" + recusa.onde + ": " +
                       recusa.motivo() + "), so nothing of it was removed");
    }
    return desinstalacao::algoFicou;
  }
  try {
    if (!raiz_->faltam.empty() || !acharORegistro()) {
      std::fprintf(saida_, "-- Nothing to uninstall in %s: it holds no install record\n",
                   raiz.c_str());
      return desinstalacao::nada;
    }
  } catch (const RECUSA& recusa) {
    manterPorRecusa(caminhoDoRegistro, recusa, ", so nothing it names was removed");
    return desinstalacao::algoFicou;
  }
  std::fprintf(saida_, "-- Uninstalling from %s/\n", raiz.c_str());
  std::set<std::string> feitos;
  for (const ENTRADA& entrada : registro_.entradas) {
    if (entrada.tipo == tipoDeEntrada::link) ficam_.push_back(entrada);  // the user's
    if ((entrada.tipo == tipoDeEntrada::arquivo || entrada.tipo == tipoDeEntrada::escrevendo) &&
        feitos.insert(entrada.caminho).second) {
      removerArquivo(entrada.caminho);
    }
  }
  // Deepest first, so that a folder emptied by its children's removal goes too; those on
  // the record's way once the record is gone.
  std::vector<std::string> pastas;
  for (const ENTRADA& entrada : registro_.entradas) {
    if (entrada.tipo == tipoDeEntrada::pasta && !entrada.caminho.starts_with(".")) {
      pastas.push_back(entrada.caminho);
    }
  }
  std::sort(pastas.rbegin(), pastas.rend());
  for (const std::string& relativo : pastas) {
    if (!noCaminhoDoRegistro(relativo)) removerPasta(relativo);
  }
  if (mantidos_ == 0) {
    if (const int erro = removerRegistroDe(doRegistro_->ultima()); erro != 0) {
      manter(caminhoDoRegistro, "it could not be removed: " + motivoDoSistema(erro));
    } else {
      std::fprintf(saida_, "-- Removed %s\n", caminhoDoRegistro.c_str());
      for (const std::string& relativo : pastas) {
        if (noCaminhoDoRegistro(relativo)) removerPasta(relativo);
      }
      removerAcimaDaRaiz();
      if (mantidos_ == 0) return desinstalacao::feita;
    }
  }
  // What is left stays recorded: with the record, the folders on its way and above the root.
  for (const ENTRADA& entrada : registro_.entradas) {
    if (entrada.tipo == tipoDeEntrada::pasta &&
        (entrada.caminho.starts_with(".") || noCaminhoDoRegistro(entrada.caminho)) &&
        std::find(ficam_.begin(), ficam_.end(), entrada) == ficam_.end()) {
      ficam_.push_back(entrada);
    }
  }
  registro_.entradas = ficam_;
  try {
    gravarRegistroEm(doRegistro_->ultima(), registro_);
    std::fprintf(erros_, "The record of what is left stays in %s\n", caminhoDoRegistro.c_str());
  } catch (const RECUSA& recusa) {
    manter(caminhoDoRegistro, "what is left could not be written there: " + recusa.motivo());
  }
  return desinstalacao::algoFicou;
}

}  // namespace

desinstalacao desinstalar(const std::string& registros, const std::string* prefixo,
                          std::FILE* saida, std::FILE* erros) {
  std::string motivo;
  std::optional<REGISTROS> pasta = REGISTROS::abrir(registros, false, &motivo);
  std::vector<std::string> raizes;
  if (prefixo != nullptr) {
    try {
      raizes.push_back(resolver(*prefixo, GUARDA{geteuid(), true}).real());
    } catch (const RECUSA&) {
      // Not there at all: nothing to uninstall.
    }
  } else if (pasta) {
    raizes = pasta->raizes();
    for (const std::string& antigo : pasta->antigos()) {
      std::fprintf(erros,
                   "Not read: %s/%s, the record of an install by an earlier version, which "
                   "kept records in the build tree; remove the files it names by hand\n",
                   registros.c_str(), antigo.c_str());
    }
  }
  if (raizes.empty()) {
    std::fprintf(saida, "-- Nothing to uninstall: %s/ lists no install of this build\n",
                 registros.c_str());
    return desinstalacao::nada;
  }
  int mantidos = 0;
  for (const std::string& raiz : raizes) {
    const desinstalacao feita = DESINSTALACAO(saida, erros).executar(raiz);
    if (feita == desinstalacao::algoFicou) {
      ++mantidos;
    } else if (pasta && !pasta->anotar(raiz, false, &motivo)) {
      std::fprintf(erros, "The list of installs in %s/ could not be written: %s\n",
                   registros.c_str(), motivo.c_str());
    }
  }
  if (mantidos == 0) return desinstalacao::feita;
  std::fprintf(erros,
               "Not everything was uninstalled, as said above: uninstall again once the "
               "reasons are dealt with\n");
  return desinstalacao::algoFicou;
}

}  // namespace velha::instalacao
