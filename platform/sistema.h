// What differs between the systems the programs run on, behind one set of calls: reading
// bytes, opening a file for reading, the mode of the standard streams, and where the
// running program lives. One source file per system implements them, and the build picks
// the file; nothing else in the project asks which system it runs on.
#pragma once

#include <cstddef>

namespace velha {

// Reads up to tamanho bytes from the descriptor into destino: how many were read, 0 at
// the end of the input, -1 when the read failed (errno says why). A read interrupted by a
// signal is retried.
long lerDoSistema(int descritor, unsigned char* destino, std::size_t tamanho);

// A descriptor that reads the file's bytes unchanged, or -1 (errno says why).
int abrirParaLer(const char* caminho);

void fecharDescritor(int descritor);

// Standard input, output and error carry bytes unchanged from here on: no line end is
// translated and no byte ends the input early, as Windows' text mode would do.
void usarFluxosBinarios();

// The folder that holds the running program, ended by its separator, as a string of at
// most tamanho bytes: false when it cannot be found or does not fit.
bool pastaDoPrograma(char* destino, std::size_t tamanho);

// texto as one word that the system's shell reads back as texto (POSIX: bare when every
// byte is plain, else in single quotes, a quote written '\''; Windows: in double quotes),
// on one line: false when it holds a byte that cannot be pasted so (a line end or another
// control character) or the result does not fit in tamanho bytes.
bool citarParaAShell(const char* texto, char* destino, std::size_t tamanho);

}  // namespace velha
