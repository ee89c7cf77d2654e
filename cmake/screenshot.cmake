# Takes the AppStream screenshot: the game plays a recorded play under SDL's offscreen driver,
# with OpenAL's silent output, saves frame FRAME as F12 would, and the picture is kept as OUTPUT.
# The video drivers leak a little at exit, which a sanitizer build must not count here.
#   cmake -DGAME=... -DREPLAY=... -DSCALE=... -DFRAME=... -DWORK=... -DOUTPUT=... -P screenshot.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null BRIM_SHOT_FRAME=${FRAME} ASAN_OPTIONS=detect_leaks=0
          ${GAME} --data-dir ${WORK} --windowed --scale ${SCALE} --replay ${REPLAY}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
file(GLOB shots ${WORK}/screenshots/*.png)
list(LENGTH shots count)
if(NOT result EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "the game took no screenshot (exit ${result}): ${out}${err}\n"
                      "configure with -DBRIM_SCREENSHOT=OFF on a machine without EGL")
endif()
file(COPY_FILE ${shots} ${OUTPUT})
file(REMOVE_RECURSE ${WORK})
