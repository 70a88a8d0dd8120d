# Writes the site's service worker from web/sw.js: each file it keeps, FILES (the site's
# own list), with the SHA-256 of what it holds, and its cache named for this build, from
# those names and hashes, so that a build that changes any file has a cache of its own,
# filled whole before it is used.
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
file(READ "${TEMPLATE}" worker)
string(REPLACE "@VELHA_BUILD@" "${build}" worker "${worker}")
string(REPLACE "@VELHA_FILES@" "{${entries}}" worker "${worker}")
file(WRITE "${OUTPUT}" "${worker}")
