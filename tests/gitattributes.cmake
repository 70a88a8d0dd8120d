# Fails when .gitattributes names a folder that does not exist: its golden files would
# then be left to a checkout's line-end rewriting, unseen.
#
# cmake -DSOURCE=<source tree> -P gitattributes.cmake
file(STRINGS "${SOURCE}/.gitattributes" lines REGEX "^[^#]")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "/\\*\\*.*$" "" folder "${line}")
  if(NOT IS_DIRECTORY "${SOURCE}/${folder}")
    message(FATAL_ERROR ".gitattributes names ${folder}/, which does not exist")
  endif()
endforeach()
