# WebAssembly for the browser, with Debian's Emscripten (packages emscripten and
# node-acorn): cmake --workflow --preset web. Each program becomes one JavaScript file
# that holds its WebAssembly (so that a page opened from disk can load it) and that both
# a page and node can start; the tests run it under node through node.js, beside this file.
# How the programs are linked is platform/CMakeLists.txt's, beside the code it links.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

set(CMAKE_CROSSCOMPILING_EMULATOR node ${CMAKE_CURRENT_LIST_DIR}/node.js)

# Emscripten's optimiser, run when a program is linked, finds Debian's acorn through
# NODE_PATH, which the web preset sets for the configure step: kept here for the links, so
# that a build run without the preset's environment (release/release.sh builds its own
# folder) links too.
if(DEFINED ENV{NODE_PATH})
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env "NODE_PATH=$ENV{NODE_PATH}")
endif()
