# Runs every transcript in FOLDER that takes no arguments again with --why, and checks that
# its status, and its output less the verdict lines, are the transcript's own: the option
# adds its lines and changes nothing else.
#
# cmake -DPROGRAM=... -DFOLDER=<folder> -DSCRATCH=<folder> [-DLAUNCHER=<command>] -P ...
file(GLOB inputs "${FOLDER}/*.in")
set(failures "")
foreach(input IN LISTS inputs)
  get_filename_component(name "${input}" NAME_WE)
  if(EXISTS "${FOLDER}/${name}.args")
    continue()
  endif()
  execute_process(
    COMMAND "${CMAKE_COMMAND}" "-DPROGRAM=${PROGRAM}" "-DLAUNCHER=${LAUNCHER}"
            "-DCASE=${FOLDER}/${name}" "-DSCRATCH=${SCRATCH}/${name}" -DARGS=--why
            "-DDROP=Vereditos para " -P "${CMAKE_CURRENT_LIST_DIR}/run.cmake"
    RESULT_VARIABLE failed
    OUTPUT_VARIABLE report
    ERROR_VARIABLE report)
  if(failed)
    string(APPEND failures "${name}:\n${report}\n")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "with --why:\n${failures}")
endif()
