// Files as the install and the uninstall see them: what one holds, what lies at a name in a
// held folder, and whether that is what a record says the install wrote there.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "installer/registro.h"

namespace velha::instalacao {

struct CONTEUDO {
  std::string hash;
  unsigned long long tamanho = 0;
};

// Reads the descriptor to its end, handing each block to usar (which may stop it by
// returning false); false, with errno, when a read fails.
bool lerEmBlocos(int descritor, const std::function<bool(const unsigned char*, std::size_t)>& usar);

// What the open file holds; nullopt (with errno) when a read fails.
std::optional<CONTEUDO> lerConteudo(int descritor);
// The open file's bytes, as text; nullopt (with errno) when a read fails.
std::optional<std::string> lerTexto(int descritor);

// Each file is written under this name beside its own, then renamed into place, so that
// its own name holds either what was there or the whole new file.
inline std::string nomeProvisorio(const std::string& nome) { return "." + nome + ".velha-new"; }

bool escreverTudo(int descritor, const unsigned char* bytes, std::size_t tamanho);

// What lies at a name in a folder.
struct ACHADO {
  enum TIPO { nada, arquivo, link, pasta, outro, ilegivel, falha } tipo;
  CONTEUDO conteudo;
  int erro = 0;
  dev_t dispositivo = 0;
  ino_t inode = 0;
};

ACHADO examinar(int pasta, const std::string& nome);

// Removes nome from pasta only if it is still the very file examined: 0, or errno.
int remover(int pasta, const std::string& nome, const ACHADO& achado);

// Whether what lies at caminho (relative to the root) is what the record's entries say
// the install wrote there, or was writing when it stopped: the one check that install and
// uninstall share. The unfinished copy under its provisional name is known by its inode.
bool eDaInstalacao(const ACHADO& achado, const std::vector<ENTRADA>& entradas,
                   const std::string& caminho);
bool eCopiaInacabada(const ACHADO& achado, const std::vector<ENTRADA>& entradas,
                     const std::string& caminho);

// What lies where the install writes a file, in the words of the install (that refuses
// to write there) or of the uninstall (that keeps it).
std::string descrever(const ACHADO& achado, bool naInstalacao);

}  // namespace velha::instalacao
