# add_transcripts(<program target> [WHY]): one test per NAME.in in transcripts/<program>/;
# with WHY, one more that runs them all again with --why.
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
  if(ARGV1 STREQUAL "WHY")
    add_test(
      NAME transcript.${program}.why_adds_only_its_lines
      COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> "-DLAUNCHER=${launcher}"
              -DFOLDER=${folder} -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/scratch/${program}/why
              -P ${CMAKE_CURRENT_SOURCE_DIR}/transcripts/why_adds_only_its_lines.cmake)
  endif()
endfunction()
