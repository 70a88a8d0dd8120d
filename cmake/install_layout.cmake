# Where the programs and the complete dictionary are installed, the dictionary's file name,
# and where the dictionary lies from the programs' folder, which is all the programs know
# of it (lookup/ takes it as VELHA_DICIONARIO_DOS_PROGRAMAS, and reads a dictionary's file
# name off its end): share/velha/ beside bin/ (the package's games/ sits at
# the same depth), or the programs' own folder in the Windows ZIP. The build tree keeps
# the same layout below its bin/, so that a program finds the dictionary of its own build
# or of its own installation in one place, and never a file that merely sits where a
# build tree would keep one.
if(WIN32)
  set(programs_install_dir .)
  set(dictionary_install_dir .)
else()
  set(programs_install_dir ${CMAKE_INSTALL_BINDIR})
  set(dictionary_install_dir ${CMAKE_INSTALL_DATADIR}/${PROJECT_NAME})
endif()
set(dictionary_name dicionario.txt)
set(dictionary_install_path ${dictionary_install_dir}/${dictionary_name})
file(RELATIVE_PATH dictionary_from_programs /prefix/${programs_install_dir}
     /prefix/${dictionary_install_path})
cmake_path(ABSOLUTE_PATH dictionary_from_programs BASE_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
           NORMALIZE OUTPUT_VARIABLE complete_dictionary)
cmake_path(IS_PREFIX PROJECT_BINARY_DIR "${complete_dictionary}" NORMALIZE in_build_tree)
if(NOT in_build_tree)
  message(FATAL_ERROR "The complete dictionary would be built outside the build tree, at "
                      "${complete_dictionary}: choose CMAKE_INSTALL_BINDIR and DATADIR so that "
                      "the data lies no further up from the programs than one folder")
endif()
