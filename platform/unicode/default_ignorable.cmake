# Writes the table of the Unicode default-ignorable code points (characters a terminal
# shows as nothing), merged into ranges, from the Unicode data's DerivedCoreProperties.txt
# (on Debian, in the unicode-data package). Its output is committed as
# platform/unicode/ignoraveis.h; a test runs it again where the data is installed, with
# COMMITTED naming that file, and fails where the two differ.
#
# cmake -DDATA=/usr/share/unicode/DerivedCoreProperties.txt -DOUTPUT=<header>
#       [-DCOMMITTED=<header>] -P default_ignorable.cmake
if(NOT EXISTS "${DATA}")
  message("skipped: there is no ${DATA} (on Debian: apt-get install unicode-data)")
  return()
endif()
file(STRINGS "${DATA}" version LIMIT_COUNT 1)
string(REGEX REPLACE "^# *" "" version "${version}")
file(STRINGS "${DATA}" lines REGEX "^[0-9A-F.]+ *; Default_Ignorable_Code_Point")
set(ranges "")
set(open_first "")
set(open_last -2)
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([0-9A-F]+)(\\.\\.([0-9A-F]+))? ")
    message(FATAL_ERROR "Unreadable line: ${line}")
  endif()
  set(first_hex "${CMAKE_MATCH_1}")
  set(last_hex "${CMAKE_MATCH_3}")
  if(last_hex STREQUAL "")
    set(last_hex ${first_hex})
  endif()
  math(EXPR first "0x${first_hex}")
  math(EXPR last "0x${last_hex}")
  math(EXPR next "${open_last} + 1")
  if(first EQUAL next)
    set(open_last ${last})  # adjoins the range before: one range
  else()
    if(NOT open_first STREQUAL "")
      list(APPEND ranges "${open_first}:${open_last}")
    endif()
    set(open_first ${first})
    set(open_last ${last})
  endif()
endforeach()
list(APPEND ranges "${open_first}:${open_last}")

set(table "")
foreach(range IN LISTS ranges)
  string(REPLACE ":" ";" bounds "${range}")
  list(GET bounds 0 first)
  list(GET bounds 1 last)
  math(EXPR first "${first}" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR last "${last}" OUTPUT_FORMAT HEXADECIMAL)
  string(APPEND table "    {${first}, ${last}},\n")
endforeach()
file(WRITE "${OUTPUT}" "\
// The Unicode default-ignorable code points, which a terminal shows as nothing, as ranges.
// Written by platform/unicode/default_ignorable.cmake from the Unicode data's
// ${version}: do not edit by hand.
#pragma once

namespace velha {

struct INTERVALO_DE_CODIGOS {
  char32_t primeiro;
  char32_t ultimo;
};

// clang-format off
inline constexpr INTERVALO_DE_CODIGOS ignoraveisPorPadrao[] = {
${table}};
// clang-format on

}  // namespace velha
")
if(DEFINED COMMITTED)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT}" "${COMMITTED}"
                  RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${COMMITTED} is not what ${DATA} gives: write it again with "
                        "cmake -DDATA=${DATA} -DOUTPUT=${COMMITTED} -P ${CMAKE_CURRENT_LIST_FILE}")
  endif()
endif()
