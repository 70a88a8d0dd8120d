#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <iterator>

#include "platform/pagina.h"
#include "platform/sistema.h"

namespace velha {
namespace {

// The longest command line and path the wide-character calls take, in UTF-16 units;
// each unit is at most three bytes of UTF-8.
constexpr int unidadesNumaLinhaDeComando = 32768;
constexpr int bytesPorUnidade = 3;

// erroDoSistema's numbers: the system's error codes are offset by this, so that they
// never read as an errno value of the C library, which keeps its own numbers below it.
constexpr int baseDosErrosDoSistema = 0x10000;

// UTF-16 to UTF-8 into destino (tamanho bytes, terminator included); false when it does
// not fit.
bool paraUtf8(const wchar_t* texto, char* destino, std::size_t tamanho) {
  const int capacidade = static_cast<int>(tamanho < INT_MAX ? tamanho : INT_MAX);
  return WideCharToMultiByte(CP_UTF8, 0, texto, -1, destino, capacidade, nullptr, nullptr) > 0;
}

// UTF-8 to UTF-16; false when texto is no UTF-8 or does not fit.
bool deUtf8(const char* texto, wchar_t* destino, int unidades) {
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, texto, -1, destino, unidades) > 0;
}

// Where the C library keeps the system's error of its last failed call, and where the
// calls here keep theirs.
void guardarErro(DWORD erro) { _doserrno = static_cast<unsigned long>(erro); }

}  // namespace

char** argumentosDoPrograma(int* argc, char** argv) {
  static char texto[unidadesNumaLinhaDeComando * bytesPorUnidade];
  static char* argumentos[unidadesNumaLinhaDeComando / 2 + 1];
  int quantos = 0;
  wchar_t** largos = CommandLineToArgvW(GetCommandLineW(), &quantos);
  if (largos == nullptr) return argv;  // as the C library read them
  std::size_t usados = 0;
  int convertidos = 0;
  for (; convertidos < quantos && convertidos + 1 < static_cast<int>(std::size(argumentos));
       ++convertidos) {
    char* destino = texto + usados;
    if (!paraUtf8(largos[convertidos], destino, sizeof texto - usados)) break;
    argumentos[convertidos] = destino;
    usados += std::strlen(destino) + 1;
  }
  LocalFree(largos);
  if (convertidos != quantos) return argv;
  argumentos[convertidos] = nullptr;
  *argc = convertidos;
  return argumentos;
}

long lerDoSistema(int descritor, unsigned char* destino, std::size_t tamanho) {
  // The system's read call, whose error says what went wrong: the C library's _read
  // reports a closed standard input or a folder as "Invalid argument".
  const auto arquivo = reinterpret_cast<HANDLE>(_get_osfhandle(descritor));
  if (arquivo == INVALID_HANDLE_VALUE || arquivo == nullptr) {
    guardarErro(ERROR_INVALID_HANDLE);
    return -1;
  }
  const auto pedidos = static_cast<DWORD>(tamanho < MAXDWORD ? tamanho : MAXDWORD);
  DWORD lidos = 0;
  if (ReadFile(arquivo, destino, pedidos, &lidos, nullptr)) return static_cast<long>(lidos);
  const DWORD erro = GetLastError();
  if (erro == ERROR_BROKEN_PIPE) return 0;  // the writer has closed the pipe: the end
  guardarErro(erro);
  return -1;
}

int abrirParaLer(const char* caminho) {
  static wchar_t largo[unidadesNumaLinhaDeComando];
  if (!deUtf8(caminho, largo, unidadesNumaLinhaDeComando)) {
    guardarErro(ERROR_INVALID_NAME);
    return -1;
  }
  return _wopen(largo, _O_RDONLY | _O_BINARY);
}

int abrirSemEsperar(const char* caminho) { return abrirParaLer(caminho); }  // no FIFOs

void fecharDescritor(int descritor) { _close(descritor); }

int erroDoSistema() {
  const unsigned long doSistema = _doserrno;
  _doserrno = 0;  // so that a later failure the C library keeps no code for is not read as this one
  return doSistema != 0 ? baseDosErrosDoSistema + static_cast<int>(doSistema) : errno;
}

const char* descreverErro(int erro) {
  if (erro < baseDosErrosDoSistema) return std::strerror(erro);
  static wchar_t largo[512];
  static char texto[sizeof largo / sizeof largo[0] * bytesPorUnidade];
  const DWORD escritos = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(erro - baseDosErrosDoSistema),
                                        0, largo, std::size(largo), nullptr);
  if (escritos == 0 || !paraUtf8(largo, texto, sizeof texto)) {
    std::snprintf(texto, sizeof texto, "system error %d", erro - baseDosErrosDoSistema);
    return texto;
  }
  // One line, as strerror's: without the line end and the full stop the system adds.
  std::size_t comprimento = std::strlen(texto);
  while (comprimento > 0 && std::strchr("\r\n .", texto[comprimento - 1]) != nullptr) {
    texto[--comprimento] = '\0';
  }
  return texto;
}

bool faltaOArquivo(int erro) {
  return erro == baseDosErrosDoSistema + ERROR_FILE_NOT_FOUND ||
         erro == baseDosErrosDoSistema + ERROR_PATH_NOT_FOUND || erro == ENOENT;
}

void escreverTexto(std::FILE* fluxo, const char* texto) {
  const auto arquivo = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(fluxo)));
  DWORD modo = 0;
  static wchar_t largo[unidadesNumaLinhaDeComando];
  if (arquivo == INVALID_HANDLE_VALUE || !GetConsoleMode(arquivo, &modo) ||
      !deUtf8(texto, largo, unidadesNumaLinhaDeComando)) {
    std::fputs(texto, fluxo);  // a file or a pipe: the bytes
    return;
  }
  std::fflush(fluxo);  // what is buffered comes first
  DWORD escritos = 0;
  WriteConsoleW(arquivo, largo, static_cast<DWORD>(wcslen(largo)), &escritos, nullptr);
}

void usarFluxosBinarios() {
  for (std::FILE* fluxo : {stdin, stdout, stderr}) _setmode(_fileno(fluxo), _O_BINARY);
  _doserrno = 0;
}

bool pastaDoPrograma(char* destino, std::size_t tamanho) {
  static wchar_t largo[unidadesNumaLinhaDeComando];
  const DWORD comprimento = GetModuleFileNameW(nullptr, largo, unidadesNumaLinhaDeComando);
  if (comprimento == 0 || comprimento >= unidadesNumaLinhaDeComando) return false;
  if (!paraUtf8(largo, destino, tamanho)) return false;  // none, or cut short
  char* separador = std::strrchr(destino, '\\');
  if (separador == nullptr) return false;
  separador[1] = '\0';
  return true;
}

bool eArquivoComum(int descritor) {
  struct _stat64 estado {};
  return _fstat64(descritor, &estado) == 0 && (estado.st_mode & _S_IFMT) == _S_IFREG;
}

void mostrarOJogo(const char* /*casas*/, char /*vez*/, char /*fim*/, int /*jogada*/) {}

bool haUmaPagina() { return false; }

void mostrarAsRegras(int /*quantas*/) {}

bool temPasta(const char* caminho) { return std::strpbrk(caminho, "\\/:") != nullptr; }

}  // namespace velha
