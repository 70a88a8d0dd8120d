# Writes the site's service worker from web/sw.js: each file it keeps, FILES (the site's
# own list), with the SHA-256 of what it holds, and its cache named for this build, from
# those names and hashes, so that a build that changes any file has a cache of its own,
# filled whole before it is used; and the version the page asks for its scripts with.
#
# cmake -DTEMPLATE=web/sw.js -DSITE=<site folder> -DFILES=<names> -DOUTPUT=<sw.js> -P service_worker.cmake
set(contents "")
set(entries "")
foreach(name IN LISTS FILES)
  file(SHA256 "${SITE}/${name}" hash)
  string(APPEND contents "${name} ${hash}\n")
  list(APPEND entries "\"${name}\": \"${hash}\"")
endforeach()
string(SHA256 build "${contents}")
string(SUBSTRING "${build}" 0 16 build)
list(JOIN entries ", " entries)
# The version the page asks for its scripts with (site_index.cmake wrote it there).
file(STRINGS "${SITE}/index.html" loads REGEX "velha\\.js\\?v=[0-9a-f]+")
string(REGEX MATCH "velha\\.js\\?v=([0-9a-f]+)" found "${loads}")
if(NOT found)
  message(FATAL_ERROR "${SITE}/index.html asks for no velha.js?v=VERSION")
endif()
file(READ "${TEMPLATE}" worker)
string(REPLACE "@VELHA_VERSION@" "${CMAKE_MATCH_1}" worker "${worker}")
string(REPLACE "@VELHA_BUILD@" "${build}" worker "${worker}")
string(REPLACE "@VELHA_FILES@" "{${entries}}" worker "${worker}")
file(WRITE "${OUTPUT}" "${worker}")
