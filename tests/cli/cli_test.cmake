# Runs the veltrin binary the way users do and checks exit codes and output shape.
# Called with -DVELTRIN=<binary> -DFIXTURES=<fixture folder> -DWORK=<scratch folder>.

function(expect_run)
  cmake_parse_arguments(RUN "" "STATUS;OUTPUT_MATCHES;ERROR_MATCHES" "ARGS" ${ARGN})
  execute_process(COMMAND ${VELTRIN} ${RUN_ARGS}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
  if(NOT status STREQUAL RUN_STATUS)
    message(FATAL_ERROR "veltrin ${RUN_ARGS}: status ${status}, expected ${RUN_STATUS}\n${out}\n${err}")
  endif()
  if(RUN_OUTPUT_MATCHES AND NOT out MATCHES "${RUN_OUTPUT_MATCHES}")
    message(FATAL_ERROR "veltrin ${RUN_ARGS}: output does not match ${RUN_OUTPUT_MATCHES}:\n${out}")
  endif()
  if(RUN_ERROR_MATCHES AND NOT err MATCHES "${RUN_ERROR_MATCHES}")
    message(FATAL_ERROR "veltrin ${RUN_ARGS}: stderr does not match ${RUN_ERROR_MATCHES}:\n${err}")
  endif()
endfunction()

set(capture "${FIXTURES}/captures/mbp15-1-i7-8750h")

expect_run(ARGS --version STATUS 0 OUTPUT_MATCHES "^Veltrin 1\\.6\n$")
expect_run(ARGS --help STATUS 0 OUTPUT_MATCHES "--replay DIR")
expect_run(ARGS --frobnicate STATUS 2 ERROR_MATCHES "^veltrin: unknown option --frobnicate\n$")
expect_run(ARGS --replay STATUS 2 ERROR_MATCHES "^veltrin: [^\n]*\n$")
expect_run(ARGS --replay /no/such/capture --json STATUS 2 ERROR_MATCHES "^veltrin: [^\n]*/no/such/capture\n$")
expect_run(ARGS --replay ${capture} --json STATUS 0
           OUTPUT_MATCHES "^{\"cpu\":{\"name\":.*\"mainboard\":{.*\"memory\":{.*\"modules\":\\[.*\"gpus\":\\[.*}\n$")

# The summary is the fourteen-line template followed by one line feed.
expect_run(ARGS --replay ${capture} --summary STATUS 0
           OUTPUT_MATCHES "^Veltrin Hardware Summary\nCPU: [^\n]*\nArchitecture: [^\n]*\nPhysical cores: [^\n]*\nLogical threads: [^\n]*\nReal motherboard: [^\n]*\nBoard ID: [^\n]*\nBoard serial: [^\n]*\nBIOS: [^\n]*\nmacOS SMBIOS: [^\n]* / [^\n]*\nmacOS Serial: [^\n]*\nmacOS: [^\n]*\nMemory: [^\n]*\nGPU: [^\n]*\n$")

# An OpenCore PC: the physical board from dmidecode, the spoofed Apple identity only in the macOS fields.
expect_run(ARGS --replay ${FIXTURES}/captures/opencore-asrock-z390-phantom-itx-i7-9700 --json STATUS 0
           OUTPUT_MATCHES "\"mainboard\":{\"manufacturer\":\"ASRock\",\"model\":\"Z390 Phantom Gaming-ITX/ac\",[^}]*\"macModel\":\"iMacPro1,1\"")

# One real benchmark (about half a minute): every field present, both scores positive,
# the texts in their fixed forms, and no progress noise when stderr is not a terminal.
expect_run(ARGS --bench --json STATUS 0 ERROR_MATCHES "^$"
           OUTPUT_MATCHES "^{\"singleThread\":[1-9][0-9]*,\"multiThread\":[1-9][0-9]*,\"status\":\"Complete( — variance detected)?\",\"threads\":\"[1-9][0-9]* threads\",\"stability\":\"single CV [0-9]+\\.[0-9]% / multi CV [0-9]+\\.[0-9]%\",\"singleTime\":\"[0-9]+\\.[0-9][0-9] s avg\",\"multiTime\":\"[0-9]+\\.[0-9][0-9] Mops/s\",\"method\":\"11 single / 9 multi rounds, trimmed mean, calibrated ~1s\\+ rounds\"}\n$")

# A Linux machine's summary names its distribution under a label of its own; a
# genuine Mac's identity stays out of the physical board line.
expect_run(ARGS --replay ${FIXTURES}/captures/linux-imacpro1-1-vega56 --summary STATUS 0
           OUTPUT_MATCHES "\nReal motherboard:  \n.*\nmacOS SMBIOS: iMacPro1,1 / Mac-7BA5B2D9E42DDD94\n.*\nOS: Fedora Linux 40 \\(Forty\\)\nMemory: 32 GB DDR4 2666 MT/s\nGPU: Vega 10 XL \\[Radeon Pro Vega 56\\]\n$")

# A capture of this computer replays to what reading it live shows, apart from
# the figures that move between the two runs.
file(REMOVE_RECURSE ${WORK})
expect_run(ARGS --capture ${WORK}/this-machine STATUS 0)
foreach(file sysctl.txt uname-m.txt uname-r.txt uptime.txt platform.txt)
  if(NOT EXISTS ${WORK}/this-machine/${file})
    message(FATAL_ERROR "--capture wrote no ${file}")
  endif()
endforeach()
if(EXISTS ${WORK}/this-machine/SPHardwareDataType.txt AND NOT APPLE)
  message(FATAL_ERROR "--capture wrote the output of a tool this machine does not have")
endif()
execute_process(COMMAND ${VELTRIN} --json OUTPUT_VARIABLE live)
execute_process(COMMAND ${VELTRIN} --replay ${WORK}/this-machine --json OUTPUT_VARIABLE replayed)
foreach(run live replayed)
  string(REGEX REPLACE "\"(id|uptime|used|pressure)\":\"[^\"]*\"" "\"\\1\":\"\"" ${run}_steady "${${run}}")
endforeach()
if(live_steady STREQUAL "" OR NOT live_steady STREQUAL replayed_steady)
  message(FATAL_ERROR "live and replayed snapshots differ:\n${live_steady}\n${replayed_steady}")
endif()
if(NOT APPLE)
  # Every Linux machine states its distribution, a clock and its memory use without root.
  foreach(field "\"frequency\":\"[0-9]+\\.[0-9][0-9] GHz\"" "\"os\":\"[^\"]+\"" "\"used\":\"[0-9.]+ [KMGT]B\""
                "\"pressure\":\"[0-9]+%\"")
    if(NOT replayed MATCHES "${field}")
      message(FATAL_ERROR "a capture of this machine lacks ${field}:\n${replayed}")
    endif()
  endforeach()
endif()
expect_run(ARGS --capture /proc/veltrin-cannot-write-here STATUS 2 ERROR_MATCHES "^veltrin: [^\n]*\n$")
