# Static checks over the project's own C++ sources, run by CI:
#   cmake --build build --target format-check   clang-format, the committed .clang-format
#   cmake --build build --target tidy           clang-tidy on every translation unit of the
#                                               build, with the checks of .clang-tidy
# Both fail on the first finding.
# The folders of the project's own C++, for both checks (the tidy one also takes its
# headers from them, whatever the checkout's path).
set(project_folders ${library_folders} installer programs tests bench fuzz)

find_program(CLANG_FORMAT clang-format)
if(CLANG_FORMAT)
  set(sources "")
  foreach(folder IN LISTS project_folders)
    file(GLOB_RECURSE in_folder CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h
         ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${in_folder})
  endforeach()
  add_custom_target(format-check
    COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "clang-format --dry-run --Werror over the project's sources"
    VERBATIM)
endif()

find_program(RUN_CLANG_TIDY NAMES run-clang-tidy run-clang-tidy-14)
if(RUN_CLANG_TIDY)
  list(JOIN project_folders "|" alternatives)
  add_custom_target(tidy
    # A g++ build's commands may hold options clang does not know, errors under -Werror.
    COMMAND ${RUN_CLANG_TIDY} -quiet -p ${PROJECT_BINARY_DIR}
            -extra-arg=-Wno-ignored-optimization-argument -extra-arg=-Wno-unknown-warning-option
            "-header-filter=(^|/)(${alternatives})/[^/]+\\.h$"
            "^${PROJECT_SOURCE_DIR}/(${alternatives})/"
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "clang-tidy over every translation unit of the project"
    VERBATIM)
endif()
