# The complete dictionary as a script that sets velhaDicionarioCompleto to its text: the
# page holds it without fetching anything. Its lines are "key cell", digits and spaces.
#
# cmake -DDICTIONARY=<dicionario.txt> -DOUTPUT=<dicionario.js> -P dictionary_script.cmake
file(READ "${DICTIONARY}" text)
if(NOT text MATCHES "^[0-9 \n]*$")
  message(FATAL_ERROR "${DICTIONARY} holds more than digits, spaces and line ends")
endif()
string(REPLACE "\n" "\\n" text "${text}")
file(WRITE "${OUTPUT}" "// The complete dictionary, for both sides, as the build wrote it.\n"
                       "var velhaDicionarioCompleto = \"${text}\";\n")
