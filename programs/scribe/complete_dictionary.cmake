# Writes a dictionary with a rule for every unfinished position that can arise in play,
# by driving scribe through its standard input:
#   b                  the first player's rules, from the empty board;
#   r, j c, b          the second player's, after each opening c (r gives O the first move);
#   r, j a, j b, b     the first player's again from deeper roots, where a win with the
#                      ninth mark outranks a draw, replacing the empty board's drawing rules;
#   i                  the listing.
#
# cmake -DSCRIBE=<scribe binary> -DOUTPUT=<dicionario.txt> [-DEMULATOR=<command>]
#       [-DKEEP_COMMANDS=ON] -P complete_dictionary.cmake
# EMULATOR runs scribe in a cross build; KEEP_COMMANDS leaves the command list beside the
# output, as <OUTPUT>.comandos.
foreach(var SCRIBE OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

set(commands "b\n")
foreach(first RANGE 8)
  string(APPEND commands "r\nj ${first}\nb\n")
endforeach()
foreach(first RANGE 8)
  foreach(second RANGE 8)
    if(NOT first EQUAL second)
      string(APPEND commands "r\nj ${first}\nj ${second}\nb\n")
    endif()
  endforeach()
endforeach()
string(APPEND commands "i\nq\n")

set(command_file "${OUTPUT}.comandos")
set(partial "${OUTPUT}.parcial")
file(WRITE "${command_file}" "${commands}")
execute_process(
  COMMAND ${EMULATOR} "${SCRIBE}"
  INPUT_FILE "${command_file}"
  OUTPUT_FILE "${partial}"
  RESULT_VARIABLE status)
if(NOT KEEP_COMMANDS)
  file(REMOVE "${command_file}")
endif()
if(NOT status EQUAL 0)
  file(REMOVE "${partial}")
  message(FATAL_ERROR "scribe ended with status ${status}")
endif()
# Renamed only when complete, so an interrupted run never leaves a short dictionary.
file(RENAME "${partial}" "${OUTPUT}")
