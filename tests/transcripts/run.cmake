# Runs one program on NAME.in in a scratch folder of its own and compares its standard
# output, byte for byte, with NAME.out, and its exit status with NAME.status (0 when
# that file is absent). The program's arguments are NAME.args's lines, or ARGS. A NAME.dic,
# or else the file named by DICTIONARY, is placed in the scratch folder as dicionario.txt.
# LAUNCHER, when set, is the command the program runs under (valgrind, say), whose own
# failures show in the exit status. DROP, when set, matches whole lines of the output that
# are taken out before it is compared.
#
# cmake -DPROGRAM=... -DCASE=<folder>/<name> -DSCRATCH=<folder> [-DDICTIONARY=...]
#       [-DLAUNCHER=<command>] [-DARGS=<arguments>] [-DDROP=<regex>] -P run.cmake
foreach(var PROGRAM CASE SCRATCH)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
if(EXISTS "${CASE}.dic")
  file(COPY_FILE "${CASE}.dic" "${SCRATCH}/dicionario.txt")
elseif(DEFINED DICTIONARY)
  file(COPY_FILE "${DICTIONARY}" "${SCRATCH}/dicionario.txt")
endif()

if(NOT EXISTS "${CASE}.out")
  message(FATAL_ERROR "${CASE}.out does not exist: make it from the program, "
                      "${PROGRAM} < ${CASE}.in > ${CASE}.out (in a folder holding the "
                      "case's dicionario.txt, if it has one), and read it before committing "
                      "it (CONTRIBUTING.md, Adding a transcript)")
endif()

if(EXISTS "${CASE}.args")
  file(STRINGS "${CASE}.args" ARGS)
endif()

set(expected_status 0)
if(EXISTS "${CASE}.status")
  file(STRINGS "${CASE}.status" expected_status LIMIT_COUNT 1)
endif()

execute_process(
  COMMAND ${LAUNCHER} "${PROGRAM}" ${ARGS}
  WORKING_DIRECTORY "${SCRATCH}"
  INPUT_FILE "${CASE}.in"
  OUTPUT_FILE "${SCRATCH}/stdout"
  ERROR_FILE "${SCRATCH}/stderr"
  RESULT_VARIABLE status)

file(READ "${SCRATCH}/stderr" errors)
if(NOT status STREQUAL expected_status)
  message(FATAL_ERROR "exit status ${status}, expected ${expected_status}\n${errors}")
endif()

if(DEFINED DROP)
  file(READ "${SCRATCH}/stdout" output)
  string(REGEX REPLACE "(^|\n)${DROP}[^\n]*\n" "\\1" output "${output}")
  file(WRITE "${SCRATCH}/stdout" "${output}")
endif()

execute_process(
  COMMAND "${CMAKE_COMMAND}" -E compare_files "${SCRATCH}/stdout" "${CASE}.out"
  RESULT_VARIABLE different)
if(different)
  execute_process(COMMAND diff -u "${CASE}.out" "${SCRATCH}/stdout" OUTPUT_VARIABLE differences)
  message(FATAL_ERROR "standard output differs from ${CASE}.out\n${differences}\n${errors}")
endif()
