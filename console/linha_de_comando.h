// What every program does with its command line. With no argument it plays; --help and
// --version answer on standard output and end the program; anything else is refused on
// standard error. The texts are in English, as the manual pages are.
#pragma once

#include <optional>

namespace velha {

inline constexpr int statusDeUsoErrado = 2;

struct PROGRAMA {
  const char* nome;
  const char* uso;  // the --help text, every line ended
};

// Nothing when the program is to go on to its command loop; otherwise the exit status to
// end it with, once the answer has been printed.
std::optional<int> responderAosArgumentos(int argc, char** argv, const PROGRAMA& programa);

}  // namespace velha
