# Runs the veltrin binary's window modes the way users do.
# Called with -DVELTRIN=<binary> -DFIXTURES=<fixture folder> -DWORK=<scratch folder>.

set(capture "${FIXTURES}/captures/mbp15-1-i7-8750h")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# Every tab rendered off screen at 1120 × 690, even with no display at all.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                        ${VELTRIN} --replay ${capture} --screenshots ${WORK}/shots
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "--screenshots: status ${status}\n${out}\n${err}")
endif()
foreach(tab cpu caches mainboard memory spd graphics bench about help)
  set(png "${WORK}/shots/${tab}.png")
  if(NOT EXISTS "${png}")
    message(FATAL_ERROR "--screenshots wrote no ${tab}.png")
  endif()
  # The PNG header: signature, then the IHDR width and height.
  file(READ "${png}" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 0 16 signature)
  string(SUBSTRING "${header}" 32 16 size)
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT size STREQUAL "00000460000002b2")
    message(FATAL_ERROR "${tab}.png is not a 1120 x 690 PNG: ${header}")
  endif()
endforeach()

# A capture with its own benchmark history: the Bench page shows the rounds of the
# last run and the recent runs, which make it taller than the window; a scrolled
# second picture shows its end. The capture's history is only read, never moved.
set(long_values "${FIXTURES}/captures/long-values-composite")
file(SHA256 "${long_values}/bench-history.json" history_before)
execute_process(COMMAND ${VELTRIN} --replay ${long_values} --screenshots ${WORK}/long
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
if(NOT status EQUAL 0 OR NOT EXISTS "${WORK}/long/bench.png" OR NOT EXISTS "${WORK}/long/bench-end.png"
   OR NOT EXISTS "${WORK}/long/spd-end.png")
  message(FATAL_ERROR "--screenshots of ${long_values}: status ${status}\n${out}\n${err}")
endif()
file(SHA256 "${long_values}/bench-history.json" history_after)
if(NOT history_before STREQUAL history_after)
  message(FATAL_ERROR "--screenshots changed the capture's benchmark history")
endif()

# A folder that cannot be made is a failure, not a success.
file(WRITE "${WORK}/plain-file" "")
execute_process(COMMAND ${VELTRIN} --replay ${capture} --screenshots ${WORK}/plain-file/shots
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
if(NOT status EQUAL 2 OR NOT err MATCHES "^veltrin: cannot create [^\n]*/plain-file/shots\n$")
  message(FATAL_ERROR "--screenshots into an impossible folder: status ${status}\n${err}")
endif()

# With no display, no mode prints the summary instead of opening a window. A Mac
# always has its display, so there the window would open.
if(CMAKE_HOST_SYSTEM_NAME STREQUAL "Darwin")
  file(REMOVE_RECURSE "${WORK}")
  return()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
                        ${VELTRIN} --replay ${capture}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
if(NOT status EQUAL 0 OR NOT out MATCHES "^Veltrin Hardware Summary\nCPU: ")
  message(FATAL_ERROR "no display: status ${status}\n${out}\n${err}")
endif()
file(REMOVE_RECURSE "${WORK}")
