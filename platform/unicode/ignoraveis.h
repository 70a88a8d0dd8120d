// The Unicode default-ignorable code points, which a terminal shows as nothing, as ranges.
// Written by platform/unicode/default_ignorable.cmake from the Unicode data's
// DerivedCoreProperties-15.0.0.txt: do not edit by hand.
#pragma once

namespace velha {

struct INTERVALO_DE_CODIGOS {
  char32_t primeiro;
  char32_t ultimo;
};

// clang-format off
inline constexpr INTERVALO_DE_CODIGOS ignoraveisPorPadrao[] = {
    {0xad, 0xad},
    {0x34f, 0x34f},
    {0x61c, 0x61c},
    {0x115f, 0x1160},
    {0x17b4, 0x17b5},
    {0x180b, 0x180f},
    {0x200b, 0x200f},
    {0x202a, 0x202e},
    {0x2060, 0x206f},
    {0x3164, 0x3164},
    {0xfe00, 0xfe0f},
    {0xfeff, 0xfeff},
    {0xffa0, 0xffa0},
    {0xfff0, 0xfff8},
    {0x1bca0, 0x1bca3},
    {0x1d173, 0x1d17a},
    {0xe0000, 0xe0fff},
};
// clang-format on

}  // namespace velha
