# A program's JavaScript (which holds its WebAssembly) as a script that keeps it as text,
# velhaCodigoDosProgramas[NAME]: the page starts each program in a worker made from that
# text, which a page opened from disk (file://), where nothing can be fetched, can do as
# well as a page served from anywhere.
#
# cmake -DNAME=<program> -DPROGRAM=<program.js> -DOUTPUT=<site/program.js> -P program_script.cmake
file(READ "${PROGRAM}" text)
# A JavaScript string in double quotes: its backslashes, quotes and line ends escaped.
string(REPLACE "\\" "\\\\" text "${text}")
string(REPLACE "\"" "\\\"" text "${text}")
string(REPLACE "\r" "\\r" text "${text}")
string(REPLACE "\n" "\\n" text "${text}")
file(WRITE "${OUTPUT}" "// ${NAME}, built for the web: its JavaScript and WebAssembly, as text for a worker.\n"
                       "var velhaCodigoDosProgramas = velhaCodigoDosProgramas || {};\n"
                       "velhaCodigoDosProgramas[\"${NAME}\"] = \"${text}\";\n")
