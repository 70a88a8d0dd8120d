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
# Every file is installed by velha_install (installer/), which checks each folder on the
# way, holds it open while it writes there, and records what it wrote, for the uninstall
# target; one run for each component, from the list velha_install (below) makes.
set(components_by_default programs data)
set(velha_installer ${target_emulator} $<TARGET_FILE:velha_install>)
set(install_components "")

# velha_install(<component> <path below the prefix> PROGRAM <target> | FILE <source> |
# MADE <name>): one installed file. Programs and the MADE files (the compressed manual
# pages and changelog) are taken from the scratch folder velha_prepare fills.
function(velha_install component relative kind what)
  set(mode 0644)
  if(kind STREQUAL "PROGRAM")
    set(mode 0755)
    set(source "\"\${velha_scratch}/${what}\"")
    set_property(GLOBAL APPEND PROPERTY velha_programs_${component} ${what})
  elseif(kind STREQUAL "MADE")
    set(source "\"\${velha_scratch}/${what}\"")
  else()
    set(source "[==[${what}]==]")
  endif()
  set_property(GLOBAL APPEND_STRING PROPERTY velha_files_${component} "  ${mode} ${relative} ${source}\n")
  if(NOT component IN_LIST install_components)
    set(install_components ${install_components} ${component} PARENT_SCOPE)
  endif()
endfunction()
add_custom_target(uninstall
  COMMAND ${velha_installer} uninstall --records ${PROJECT_BINARY_DIR}/install_records
  COMMENT "Removing what each cmake --install of this build installed"
  VERBATIM)

foreach(program IN LISTS programs)
  velha_install(programs ${programs_install_dir}/${program} PROGRAM ${program})
endforeach()
foreach(program IN LISTS programs)
  velha_install(package_programs games/${program} PROGRAM ${program})
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
# The same pages for this build tree, naming its dictionary, readable before any install:
# man -l build/man/seeker.6
set(VELHA_VERSION ${PROJECT_VERSION})
set(VELHA_DICTIONARY ${complete_dictionary})
foreach(template IN LISTS man_page_templates)
  get_filename_component(page ${template} NAME_WLE)
  configure_file(${template} ${PROJECT_BINARY_DIR}/man/${page} @ONLY)
endforeach()
foreach(page IN LISTS programs)
  velha_install(data ${CMAKE_INSTALL_MANDIR}/man6/${page}.6.gz MADE ${page}.6.gz)
endforeach()
velha_install(data ${CMAKE_INSTALL_DOCDIR}/changelog.gz MADE changelog.gz)

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

# One install script a component: its files, prepared, then copied by velha_install.
configure_file(cmake/compress_pages.cmake.in install/prepare.cmake.in @ONLY)
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/install/prepare.cmake
     INPUT ${PROJECT_BINARY_DIR}/install/prepare.cmake.in)
foreach(component IN LISTS install_components)
  get_property(files GLOBAL PROPERTY velha_files_${component})
  get_property(component_programs GLOBAL PROPERTY velha_programs_${component})
  set(exclude "")
  if(NOT component IN_LIST components_by_default)
    set(exclude EXCLUDE_FROM_ALL)
  endif()
  file(WRITE ${PROJECT_BINARY_DIR}/install/${component}.cmake
       "include([==[${PROJECT_BINARY_DIR}/install/prepare.cmake]==])\n"
       "velha_prepare(${component} ${component_programs})\n"
       "velha_copy(\n${files})\n")
  install(SCRIPT ${PROJECT_BINARY_DIR}/install/${component}.cmake COMPONENT ${component} ${exclude})
endforeach()

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
