#include "installer/registro.h"

#include <array>
#include <charconv>
#include <string_view>

namespace velha::instalacao {
namespace {

constexpr char cabecalho[] = "velha install record 2\n";
// Every record before this form began so: named as old, and left as it is.
constexpr char cabecalhoAntigo[] = "velha install record\n";

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

bool lerEntrada(const std::string& linha, ENTRADA* entrada) {
  std::size_t inicio = 0;
  const std::string nome = palavra(linha, &inicio);
  const NOME_DO_TIPO* tipo = nullptr;
  for (const NOME_DO_TIPO& candidato : nomesDosTipos) {
    if (nome == candidato.nome) tipo = &candidato;
  }
  if (tipo == nullptr) return false;
  entrada->tipo = tipo->tipo;
  if (tipo->tipo == tipoDeEntrada::escrevendo) {
    const std::string tamanho = palavra(linha, &inicio);
    const auto [fim, erro] =
        std::from_chars(tamanho.data(), tamanho.data() + tamanho.size(), entrada->tamanho);
    if (tamanho.empty() || erro != std::errc{} || fim != tamanho.data() + tamanho.size()) {
      return false;
    }
  }
  if (tipo->tipo != tipoDeEntrada::pasta) {
    entrada->hash = palavra(linha, &inicio);
    if (!eHash(entrada->hash)) return false;
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
    texto += " " + entrada.caminho + "\n";
  }
  return texto + "end\n";
}

std::string lerRegistro(const std::string& texto, REGISTRO* registro) {
  if (texto.starts_with(cabecalhoAntigo)) {
    return "it was written by an earlier version of the install, whose records this one does "
           "not read";
  }
  if (!texto.starts_with(cabecalho)) return "it is not an install record";
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

}  // namespace velha::instalacao
