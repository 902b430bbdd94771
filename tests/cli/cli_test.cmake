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
# Benchmark runs are recorded in the scratch folder, never in the user's data folder.
set(ENV{XDG_DATA_HOME} "${WORK}/data")
set(history "${WORK}/data/Veltrin/bench-history.json")
file(REMOVE_RECURSE "${WORK}/data")

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
# the texts in their fixed forms, every round's time after them, and no progress noise when
# stderr is not a terminal.
expect_run(ARGS --bench --json STATUS 0 ERROR_MATCHES "^$"
           OUTPUT_MATCHES "^{\"singleThread\":[1-9][0-9]*,\"multiThread\":[1-9][0-9]*,\"status\":\"Complete( — variance detected)?\",\"threads\":\"[1-9][0-9]* threads\",\"stability\":\"single CV [0-9]+\\.[0-9]% / multi CV [0-9]+\\.[0-9]%\",\"singleTime\":\"[0-9]+\\.[0-9][0-9] s avg\",\"multiTime\":\"[0-9]+\\.[0-9][0-9] Mops/s\",\"method\":\"11 single / 9 multi rounds, trimmed mean, calibrated ~1s\\+ rounds\",\"singleCV\":[0-9.]+,\"multiCV\":[0-9.]+,\"threadsRequested\":[1-9][0-9]*,\"threadsRan\":[1-9][0-9]*,\"singleRounds\":\\[({\"seconds\":[0-9.]+,\"trimmed\":(true|false)},?)+\\],\"multiRounds\":\\[({\"seconds\":[0-9.]+,\"trimmed\":(true|false)},?)+\\]}\n$")

# The run went into the history, which --bench-history prints as a table or as the file's JSON.
expect_run(ARGS --bench-history STATUS 0 ERROR_MATCHES "^$"
           OUTPUT_MATCHES "^Date \\(UTC\\) +Version +Single +Multi +Single CV +Multi CV +Threads +Model\n[0-9]+-[0-9]+-[0-9]+ [0-9]+:[0-9]+ +1\\.6 +[1-9][0-9]* +[1-9][0-9]* +[0-9]+\\.[0-9]% +[0-9]+\\.[0-9]% +[1-9][0-9]* +[^\n]+\n$")
expect_run(ARGS --bench-history --json STATUS 0 ERROR_MATCHES "^$"
           OUTPUT_MATCHES "^{\"format\":\"veltrin-bench-history\",\"version\":1,\"runs\":\\[\n{\"date\":\"[0-9T:Z-]+\",\"version\":\"1\\.6\",\"singleThread\":[1-9][0-9]*,[^\n]*}\\]}\n$")

# A damaged history is reported once, on stderr, and moved aside whole; nothing is printed as a run.
file(WRITE "${history}" "{\"runs\": [1, 2")
expect_run(ARGS --bench-history STATUS 0
           ERROR_MATCHES "^veltrin: The benchmark history [^\n]*bench-history.json could not be read: it is not valid JSON\\. It was moved to [^\n]*bench-history.json.damaged-[0-9-]+ and a new history begins\\.\n$"
           OUTPUT_MATCHES "^Date \\(UTC\\)[^\n]*\n$")
expect_run(ARGS --bench-history STATUS 0 ERROR_MATCHES "^$")
file(GLOB aside "${history}.damaged-*")
file(READ "${aside}" kept)
if(NOT kept STREQUAL "{\"runs\": [1, 2")
  message(FATAL_ERROR "the damaged history was not kept as it was: ${aside}")
endif()

# A capture of this computer replays to the same processor record as reading it live.
file(REMOVE_RECURSE ${WORK})
expect_run(ARGS --capture ${WORK}/this-machine STATUS 0)
foreach(file sysctl.txt uname-m.txt uname-r.txt uptime.txt)
  if(NOT EXISTS ${WORK}/this-machine/${file})
    message(FATAL_ERROR "--capture wrote no ${file}")
  endif()
endforeach()
if(EXISTS ${WORK}/this-machine/SPHardwareDataType.txt AND NOT APPLE)
  message(FATAL_ERROR "--capture wrote the output of a tool this machine does not have")
endif()
execute_process(COMMAND ${VELTRIN} --json OUTPUT_VARIABLE live)
execute_process(COMMAND ${VELTRIN} --replay ${WORK}/this-machine --json OUTPUT_VARIABLE replayed)
string(REGEX MATCH "\"cpu\":{[^}]*}" live_cpu "${live}")
string(REGEX MATCH "\"cpu\":{[^}]*}" replayed_cpu "${replayed}")
if(live_cpu STREQUAL "" OR NOT live_cpu STREQUAL replayed_cpu)
  message(FATAL_ERROR "live and replayed processor differ:\n${live_cpu}\n${replayed_cpu}")
endif()
expect_run(ARGS --capture /proc/veltrin-cannot-write-here STATUS 2 ERROR_MATCHES "^veltrin: [^\n]*\n$")
