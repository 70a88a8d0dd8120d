# Installation on Linux and other Unix systems, and the Debian package.
#
# A prefix install (cmake --install build --prefix ~/.local) puts the programs in bin/,
# which is on PATH. The package follows Debian's policy for games instead: the programs in
# /usr/games, where the generic names reader and scribe are less likely to clash. Both
# install the same data: the manual pages (section 6, compressed), the complete dictionary
# in share/velha/, and the copyright file and changelog in share/doc/velha/.
# Folders made by an install or a package are 0755 whatever the umask of whoever builds
# or installs: others must read the dictionary and the manual pages.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                                GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# First of all, and again after the last file, the record from which the uninstall
# target removes the install: in every component, so that an install of some components
# is recorded too. It learns every file each component writes, and where from, from the
# declarations below (velha_install), which make the install rules too.
set(components_by_default programs data)
configure_file(cmake/record_keeping.cmake install/record_keeping.cmake COPYONLY)
configure_file(cmake/uninstall.cmake install/uninstall.cmake COPYONLY)
install(SCRIPT ${PROJECT_BINARY_DIR}/record_install.cmake ALL_COMPONENTS)
set(install_destinations "")

# velha_install(<component> <path below the prefix> TARGET <program> | FILE <source> |
# MADE ""): one installed file, its install rule and its line in the record's list. MADE
# files (the compressed manual pages and changelog) are written by install_pages.cmake.
function(velha_install component relative kind what)
  cmake_path(GET relative PARENT_PATH folder)
  cmake_path(GET relative FILENAME name)
  set(exclude "")
  if(NOT component IN_LIST components_by_default)
    set(exclude EXCLUDE_FROM_ALL)
  endif()
  set(source "")
  if(kind STREQUAL "TARGET")
    install(TARGETS ${what} RUNTIME DESTINATION ${folder} COMPONENT ${component} ${exclude})
    set(source ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${what})
  elseif(kind STREQUAL "FILE")
    install(FILES ${what} DESTINATION ${folder} RENAME ${name} COMPONENT ${component} ${exclude})
    set(source ${what})
  endif()
  string(APPEND install_destinations
         "  velha_destination(${component} ${relative} [==[${source}]==])\n")
  set(install_destinations "${install_destinations}" PARENT_SCOPE)
endfunction()
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -P ${PROJECT_BINARY_DIR}/install/uninstall.cmake
  COMMENT "Removing what each cmake --install of this build installed"
  VERBATIM)
# cpack's staging installs hold nothing of the user's and are not recorded: cpack reads
# this file, and so the install scripts it runs see VELHA_PACKAGING.
file(WRITE ${PROJECT_BINARY_DIR}/cpack_project.cmake "set(ENV{VELHA_PACKAGING} 1)\n")
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/cpack_project.cmake)

foreach(program IN LISTS programs)
  velha_install(programs ${programs_install_dir}/${program} TARGET ${program})
endforeach()
foreach(program IN LISTS programs)
  velha_install(package_programs games/${program} TARGET ${program})
endforeach()
# The programs find the complete dictionary by one relative path, from the folder they are
# installed in: the package's games/ must lead there as bin/ does.
file(RELATIVE_PATH from_games /prefix/games /prefix/${dictionary_install_path})
if(NOT from_games STREQUAL dictionary_from_programs)
  message(FATAL_ERROR "The package's programs, in games/, would not find the dictionary at "
                      "${dictionary_from_programs}: keep CMAKE_INSTALL_BINDIR one folder deep")
endif()

# The install reads nothing from the sources, only from the build tree: an install or
# uninstall run as another user (root, say) needs no access to the source folder.
set(man_page_templates "")
foreach(page IN LISTS programs)
  configure_file(man/${page}.6.in install/${page}.6.in COPYONLY)
  list(APPEND man_page_templates ${PROJECT_BINARY_DIR}/install/${page}.6.in)
endforeach()
configure_file(cmake/changelog install/changelog COPYONLY)
configure_file(cmake/compress_pages.cmake.in compress_pages.cmake @ONLY)
configure_file(cmake/install_pages.cmake.in install_pages.cmake @ONLY)
# The same pages for this build tree, naming its dictionary, readable before any install:
# man -l build/man/seeker.6
set(VELHA_VERSION ${PROJECT_VERSION})
set(VELHA_DICTIONARY ${complete_dictionary})
foreach(template IN LISTS man_page_templates)
  get_filename_component(page ${template} NAME_WLE)
  configure_file(${template} ${PROJECT_BINARY_DIR}/man/${page} @ONLY)
endforeach()
foreach(page IN LISTS programs)
  velha_install(data ${CMAKE_INSTALL_MANDIR}/man6/${page}.6.gz MADE "")
endforeach()
velha_install(data ${CMAKE_INSTALL_DOCDIR}/changelog.gz MADE "")
install(SCRIPT ${PROJECT_BINARY_DIR}/install_pages.cmake COMPONENT data)

# The licence as Debian's machine-readable copyright file: its text, from LICENSE, is a
# field continued on lines that start with a space, a blank line written as " .".
file(READ LICENSE licence)
string(FIND "${licence}" "Permission is hereby granted" licence_start)
string(SUBSTRING "${licence}" ${licence_start} -1 licence_text)
string(STRIP "${licence_text}" licence_text)
string(REPLACE "\n\n" "\n.\n" licence_text "${licence_text}")
string(REPLACE "\n" "\n " licence_text "${licence_text}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "velha maintainers <maintainers@users.noreply.example>")
file(WRITE ${PROJECT_BINARY_DIR}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${PROJECT_NAME}
Upstream-Contact: ${CPACK_DEBIAN_PACKAGE_MAINTAINER}

Files: *
Copyright: 2026 The velha authors
License: Expat
Comment: The MIT licence, which Debian names Expat.

License: Expat
 ${licence_text}
")
velha_install(data ${CMAKE_INSTALL_DOCDIR}/copyright FILE ${PROJECT_BINARY_DIR}/copyright)

if(with_complete_dictionary)
  velha_install(data ${dictionary_install_path} FILE ${complete_dictionary})
endif()

# The changelog's latest entry names the version being packaged.
file(STRINGS cmake/changelog first_line LIMIT_COUNT 1)
if(NOT first_line MATCHES "^${PROJECT_NAME} \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "cmake/changelog has no entry for ${PROJECT_VERSION}: ${first_line}")
endif()

configure_file(cmake/record_install.cmake.in record_install.cmake @ONLY)
install(SCRIPT ${PROJECT_BINARY_DIR}/record_install.cmake ALL_COMPONENTS)

set(CPACK_GENERATOR DEB)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "tic-tac-toe at the console: exhaustive search, dictionary builder and player")
set(CPACK_PACKAGE_DESCRIPTION
    "seeker plays tic-tac-toe against an exhaustive minimax search, scribe builds\n\
a move dictionary by search, and reader plays from that dictionary. A complete\n\
dictionary for both sides is installed in /usr/share/velha.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# The package holds the programs' games/ rule and the data, not their bin/ rule.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};package_programs;/"
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};data;/")

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "^${PROJECT_SOURCE_DIR}/build[^/]*/"
                              "^${PROJECT_SOURCE_DIR}/dist/" "/node_modules/"
                              "^${PROJECT_SOURCE_DIR}/dicionario\\\\.txt$")
include(CPack)
