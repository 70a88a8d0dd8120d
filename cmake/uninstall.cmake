# Removes what the last `cmake --install` of a build tree installed: the files its
# install_manifest.txt lists, then the folders that install created (as noted in
# install_folders.txt) once they are empty; nothing else. Says what it removes, and
# refuses when there is no install record.
#
# cmake -DBUILD_DIR=<build tree> -P uninstall.cmake   (the `uninstall` target)
set(manifest "${BUILD_DIR}/install_manifest.txt")
set(folders_record "${BUILD_DIR}/install_folders.txt")
if(NOT EXISTS "${manifest}")
  message(FATAL_ERROR "Nothing to uninstall: ${manifest} does not exist. It is written by "
                      "cmake --install and removed once its files are uninstalled.")
endif()

file(STRINGS "${manifest}" files)
foreach(file IN LISTS files)
  if(EXISTS "${file}" OR IS_SYMLINK "${file}")
    file(REMOVE "${file}")
    message(STATUS "Removed ${file}")
  endif()
endforeach()

if(EXISTS "${folders_record}")
  file(STRINGS "${folders_record}" folders)
  list(POP_FRONT folders prefix)
  # Deepest first, so that a folder left empty by its children's removal goes too.
  list(SORT folders ORDER DESCENDING)
  foreach(folder IN LISTS folders)
    if(IS_DIRECTORY "${folder}" AND NOT IS_SYMLINK "${folder}")
      file(GLOB contents LIST_DIRECTORIES true "${folder}/*" "${folder}/.*")
      if(NOT contents)
        file(REMOVE_RECURSE "${folder}")
        message(STATUS "Removed folder ${folder}")
      endif()
    endif()
  endforeach()
endif()
file(REMOVE "${manifest}" "${folders_record}")
