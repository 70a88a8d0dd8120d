// What a person sees of a text, for every system: a hint's path is offered only when what
// shows is what runs.
#include <algorithm>
#include <iterator>

#include "platform/sistema.h"
#include "platform/unicode/ignoraveis.h"

namespace velha {
namespace {

// What shows as nothing, or reorders what is around it: the default-ignorable code points
// (the directional marks and isolates among them), and the C1 controls and the line and
// paragraph separators, which a terminal may act on.
constexpr INTERVALO_DE_CODIGOS tambemInvisiveis[] = {{0x80, 0x9F}, {0x2028, 0x2029}};

bool invisivel(char32_t c) {
  const auto contem = [c](const INTERVALO_DE_CODIGOS& intervalo) {
    return c >= intervalo.primeiro && c <= intervalo.ultimo;
  };
  return std::any_of(std::begin(ignoraveisPorPadrao), std::end(ignoraveisPorPadrao), contem) ||
         std::any_of(std::begin(tambemInvisiveis), std::end(tambemInvisiveis), contem);
}

}  // namespace

bool mostraOQueE(const char* texto) {
  const auto* byte = reinterpret_cast<const unsigned char*>(texto);
  while (*byte != '\0') {
    const unsigned char primeiro = *byte++;
    if (primeiro < ' ' || primeiro == 0x7F) return false;
    if (primeiro < 0x80) continue;
    // A sequence of 2 to 4 bytes, in its shortest form, not a surrogate, at most U+10FFFF.
    int seguintes = 0;
    char32_t c = 0;
    if (primeiro >= 0xC2 && primeiro <= 0xDF) {
      seguintes = 1;
      c = primeiro & 0x1F;
    } else if (primeiro >= 0xE0 && primeiro <= 0xEF) {
      seguintes = 2;
      c = primeiro & 0x0F;
    } else if (primeiro >= 0xF0 && primeiro <= 0xF4) {
      seguintes = 3;
      c = primeiro & 0x07;
    } else {
      return false;
    }
    for (int i = 0; i < seguintes; ++i, ++byte) {
      if ((*byte & 0xC0) != 0x80) return false;  // the terminator included
      c = (c << 6) | (*byte & 0x3F);
    }
    constexpr char32_t menorDe[] = {0, 0x80, 0x800, 0x10000};
    if (c < menorDe[seguintes] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return false;
    if (invisivel(c)) return false;
  }
  return true;
}

}  // namespace velha
