# The Windows build's ZIP (cpack -G ZIP, or just cpack, in build-windows): the three
# programs with the complete dictionary beside reader.exe, where a reader started from
# that folder (double-clicked, or after cd) finds it, the licence and a read-me, all in
# one folder, with CRLF line ends in the texts a Windows user opens.
install(TARGETS ${programs} RUNTIME DESTINATION ${programs_install_dir} COMPONENT programs)
if(with_complete_dictionary)
  install(FILES ${complete_dictionary} DESTINATION ${dictionary_install_dir} COMPONENT data)
endif()
configure_file(cmake/windows/README.txt.in README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(LICENSE LICENSE.txt @ONLY NEWLINE_STYLE CRLF)  # it holds no @
install(FILES ${PROJECT_BINARY_DIR}/README.txt ${PROJECT_BINARY_DIR}/LICENSE.txt DESTINATION .
        COMPONENT data)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-windows-x86_64)
set(CPACK_STRIP_FILES ON)
include(CPack)
