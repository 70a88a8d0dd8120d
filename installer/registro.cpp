#include "installer/registro.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace velha::instalacao {
namespace {

constexpr char cabecalho[] = "velha install record 3\n";
// Every record before this form began so: named as old, and left as it is.
constexpr char comecoDeTodos[] = "velha install record";
constexpr char cabecalhoDasRaizes[] = "velha install roots 1\n";

struct NOME_DO_TIPO {
  tipoDeEntrada tipo;
  const char* nome;
};
constexpr std::array<NOME_DO_TIPO, 4> nomesDosTipos{{{tipoDeEntrada::arquivo, "file"},
                                                     {tipoDeEntrada::escrevendo, "writing"},
                                                     {tipoDeEntrada::pasta, "folder"},
                                                     {tipoDeEntrada::link, "link"}}};

bool eHash(const std::string& texto) {
  return texto.size() == 64 && texto.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// The next word of linha from *inicio, up to a space.
std::string palavra(const std::string& linha, std::size_t* inicio) {
  const std::size_t fim = linha.find(' ', *inicio);
  if (fim == std::string::npos) return "";
  std::string texto = linha.substr(*inicio, fim - *inicio);
  *inicio = fim + 1;
  return texto;
}

// The next word of linha, a whole decimal number.
bool numero(const std::string& linha, std::size_t* inicio, unsigned long long* valor) {
  const std::string texto = palavra(linha, inicio);
  const auto [fim, erro] = std::from_chars(texto.data(), texto.data() + texto.size(), *valor);
  return !texto.empty() && erro == std::errc{} && fim == texto.data() + texto.size();
}

bool lerEntrada(const std::string& linha, ENTRADA* entrada) {
  std::size_t inicio = 0;
  const std::string nome = palavra(linha, &inicio);
  const NOME_DO_TIPO* tipo = nullptr;
  for (const NOME_DO_TIPO& candidato : nomesDosTipos) {
    if (nome == candidato.nome) tipo = &candidato;
  }
  if (tipo == nullptr) return false;
  entrada->tipo = tipo->tipo;
  if (tipo->tipo == tipoDeEntrada::escrevendo && !numero(linha, &inicio, &entrada->tamanho)) {
    return false;
  }
  if (tipo->tipo != tipoDeEntrada::pasta) {
    entrada->hash = palavra(linha, &inicio);
    if (!eHash(entrada->hash)) return false;
  }
  if (tipo->tipo == tipoDeEntrada::escrevendo &&
      !(numero(linha, &inicio, &entrada->dispositivo) && numero(linha, &inicio, &entrada->inode))) {
    return false;
  }
  entrada->caminho = linha.substr(inicio);
  return caminhoProprio(entrada->caminho, entrada->tipo);
}

}  // namespace

bool caminhoProprio(const std::string& caminho, tipoDeEntrada tipo) {
  if (tipo == tipoDeEntrada::pasta && caminho == ".") return true;
  constexpr std::string_view letras =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_.+-";
  bool acima = tipo == tipoDeEntrada::pasta && caminho.starts_with("..");  // "..", "../.."
  std::size_t inicio = 0;
  while (true) {
    const std::size_t fim = std::min(caminho.find('/', inicio), caminho.size());
    const std::string nome = caminho.substr(inicio, fim - inicio);
    const bool plano = !nome.empty() && nome != "." && nome != ".." &&
                       nome.find_first_not_of(letras) == std::string::npos;
    if (acima ? nome != ".." : !plano) return false;
    if (fim == caminho.size()) return true;
    inicio = fim + 1;
  }
}

std::string textoDoRegistro(const REGISTRO& registro) {
  std::string texto = cabecalho;
  texto += "root " + std::to_string(registro.raiz.size()) + "\n" + registro.raiz + "\n";
  for (const ENTRADA& entrada : registro.entradas) {
    for (const NOME_DO_TIPO& tipo : nomesDosTipos) {
      if (tipo.tipo == entrada.tipo) texto += tipo.nome;
    }
    if (entrada.tipo == tipoDeEntrada::escrevendo) texto += " " + std::to_string(entrada.tamanho);
    if (entrada.tipo != tipoDeEntrada::pasta) texto += " " + entrada.hash;
    if (entrada.tipo == tipoDeEntrada::escrevendo) {
      texto += " " + std::to_string(entrada.dispositivo) + " " + std::to_string(entrada.inode);
    }
    texto += " " + entrada.caminho + "\n";
  }
  return texto + "end\n";
}

std::string lerRegistro(const std::string& texto, REGISTRO* registro) {
  if (!texto.starts_with(cabecalho)) {
    return texto.starts_with(comecoDeTodos)
               ? "it was written by an earlier version of the install, whose "
                 "records this one does not read"
               : "it is not an install record";
  }
  std::size_t inicio = sizeof cabecalho - 1;
  const std::size_t fimDaLinha = texto.find('\n', inicio);
  std::size_t tamanho = 0;
  const char* numero = texto.data() + inicio + 5;
  const char* fimDoNumero = texto.data() + (fimDaLinha == std::string::npos ? 0 : fimDaLinha);
  if (fimDaLinha == std::string::npos || texto.compare(inicio, 5, "root ") != 0 ||
      std::from_chars(numero, fimDoNumero, tamanho).ptr != fimDoNumero) {
    return "it has no root line";
  }
  inicio = fimDaLinha + 1;
  if (texto.size() - inicio <= tamanho || texto[inicio + tamanho] != '\n') {
    return "it ends inside its root line";
  }
  registro->raiz = texto.substr(inicio, tamanho);
  inicio += tamanho + 1;
  registro->entradas.clear();
  while (true) {
    const std::size_t fim = texto.find('\n', inicio);
    if (fim == std::string::npos) return "it is incomplete: its last line is not \"end\"";
    const std::string linha = texto.substr(inicio, fim - inicio);
    inicio = fim + 1;
    if (linha == "end") {
      return inicio == texto.size() ? "" : "it goes on after its \"end\" line";
    }
    ENTRADA entrada{};
    if (!lerEntrada(linha, &entrada)) return "it holds a line that is no entry: " + linha;
    registro->entradas.push_back(entrada);
  }
}

bool pareceRegistro(const std::string& texto) {
  const std::size_t comum = std::min(texto.size(), sizeof comecoDeTodos - 1);
  return texto.compare(0, comum, comecoDeTodos, comum) == 0;
}

std::string textoDasRaizes(const std::vector<std::string>& raizes) {
  std::string texto = cabecalhoDasRaizes;
  for (const std::string& raiz : raizes) texto += std::to_string(raiz.size()) + "\n" + raiz + "\n";
  return texto;
}

std::vector<std::string> lerRaizes(const std::string& texto) {
  std::vector<std::string> raizes;
  if (!texto.starts_with(cabecalhoDasRaizes)) return raizes;
  std::size_t inicio = sizeof cabecalhoDasRaizes - 1;
  // Each root as its length, a line end, its bytes and a line end; the list ends at the
  // first that is not whole.
  while (inicio < texto.size()) {
    const std::size_t fim = texto.find('\n', inicio);
    std::size_t tamanho = 0;
    if (fim == std::string::npos ||
        std::from_chars(texto.data() + inicio, texto.data() + fim, tamanho).ptr !=
            texto.data() + fim ||
        texto.size() - (fim + 1) <= tamanho || texto[fim + 1 + tamanho] != '\n') {
      break;
    }
    raizes.push_back(texto.substr(fim + 1, tamanho));
    inicio = fim + 1 + tamanho + 1;
  }
  return raizes;
}

}  // namespace velha::instalacao
