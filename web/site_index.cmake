# Writes the site's index.html from web/index.html, its style and scripts asked for with the
# build's version in their address (velha.js?v=VERSION): VERSION is made from what the
# site's other files hold (FILES), so that without a service worker a browser's HTTP cache
# never runs a new page with an old script, nor an old page with a new one. velha.js asks for
# the programs' scripts with the same version (executor.js), and the worker reads it here.
#
# cmake -DPAGE=web/index.html -DSITE=<site folder> -DFILES=<names> -DOUTPUT=<index.html> -P site_index.cmake
set(contents "")
foreach(name IN LISTS FILES)
  file(SHA256 "${SITE}/${name}" hash)
  string(APPEND contents "${name} ${hash}\n")
endforeach()
string(SHA256 version "${contents}")
string(SUBSTRING "${version}" 0 16 version)
file(READ "${PAGE}" page)
foreach(name IN ITEMS velha.css velha.js)
  string(FIND "${page}" "\"${name}\"" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${PAGE} does not load \"${name}\"")
  endif()
  string(REPLACE "\"${name}\"" "\"${name}?v=${version}\"" page "${page}")
endforeach()
file(WRITE "${OUTPUT}" "${page}")
