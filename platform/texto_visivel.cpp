// What a person sees of a text, for every system: a hint's path is offered only when what
// shows is what runs.
#include "platform/sistema.h"

namespace velha {
namespace {

// Code points that a terminal shows as nothing or that reorder what is around them: the
// C1 controls, the soft hyphen, the Arabic letter mark, the zero-width and directional
// marks and embeddings, the line and paragraph separators, the invisible operators and
// isolates, and the byte-order mark.
struct INTERVALO {
  char32_t primeiro;
  char32_t ultimo;
};
constexpr INTERVALO invisiveis[] = {
    {0x80, 0x9F},     {0xAD, 0xAD},     {0x61C, 0x61C},   {0x180E, 0x180E},
    {0x200B, 0x200F}, {0x2028, 0x202E}, {0x2060, 0x206F}, {0xFEFF, 0xFEFF},
};

bool invisivel(char32_t c) {
  for (const INTERVALO& intervalo : invisiveis) {
    if (c >= intervalo.primeiro && c <= intervalo.ultimo) return true;
  }
  return false;
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
