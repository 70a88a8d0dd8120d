# Installation (programs, manual pages, the complete dictionary) and the Debian package.
include(GNUInstallDirs)

install(TARGETS seeker scribe reader RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES man/seeker.6 man/scribe.6 man/reader.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
if(temDicionarioCompleto)
  install(FILES ${PROJECT_BINARY_DIR}/dicionario.txt
          DESTINATION ${CMAKE_INSTALL_DATADIR}/${PROJECT_NAME})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "velha maintainers <maintainers@users.noreply.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "tic-tac-toe at the console: exhaustive search, dictionary builder and player")
set(CPACK_PACKAGE_DESCRIPTION
    "seeker plays tic-tac-toe against an exhaustive minimax search, scribe builds a move\n\
dictionary by search, and reader plays from that dictionary. A complete dictionary\n\
for both sides is installed in /usr/share/velha.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
