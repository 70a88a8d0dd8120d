# Writes the page, web/index.html, with its script tags where the template marks them:
# SCRIPTS, in the order the page runs them, the one list of the page's scripts.
#
# cmake -DTEMPLATE=web/index.html -DSCRIPTS=<names> -DOUTPUT=<index.html> -P page_scripts.cmake
set(tags "")
foreach(name IN LISTS SCRIPTS)
  string(APPEND tags "<script src=\"${name}\"></script>\n")
endforeach()
file(READ "${TEMPLATE}" page)
string(REGEX REPLACE "<!-- @VELHA_SCRIPTS@[^>]*-->\n" "${tags}" page "${page}")
file(WRITE "${OUTPUT}" "${page}")
