# add_transcripts(<program target>): one test per NAME.in in transcripts/<program>/.
function(add_transcripts program)
  set(folder ${CMAKE_CURRENT_SOURCE_DIR}/transcripts/${program})
  file(GLOB inputs CONFIGURE_DEPENDS ${folder}/*.in)
  foreach(input IN LISTS inputs)
    get_filename_component(name ${input} NAME_WE)
    add_test(
      NAME transcript.${program}.${name}
      COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> "-DLAUNCHER=${launcher}"
              -DCASE=${folder}/${name}
              -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/scratch/${program}/${name}
              -P ${CMAKE_CURRENT_SOURCE_DIR}/transcripts/run.cmake)
  endforeach()
endfunction()
