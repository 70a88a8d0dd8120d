# Writes the site's service worker from web/sw.js, naming its cache for this build: the
# SHA-256 of every other file of the site, by name and content, so that a build that
# changes any of them has a cache of its own, filled whole before it is used. The files
# it keeps are FILES, the site's own list.
#
# cmake -DTEMPLATE=web/sw.js -DSITE=<site folder> -DFILES=<names> -DOUTPUT=<sw.js> -P service_worker.cmake
set(contents "")
foreach(name IN LISTS FILES)
  file(SHA256 "${SITE}/${name}" hash)
  string(APPEND contents "${name} ${hash}\n")
endforeach()
string(SHA256 build "${contents}")
string(SUBSTRING "${build}" 0 16 build)
list(TRANSFORM FILES PREPEND "\"")
list(TRANSFORM FILES APPEND "\"")
list(JOIN FILES ", " names)
file(READ "${TEMPLATE}" worker)
string(REPLACE "@VELHA_BUILD@" "${build}" worker "${worker}")
string(REPLACE "@VELHA_FILES@" "[${names}]" worker "${worker}")
file(WRITE "${OUTPUT}" "${worker}")
