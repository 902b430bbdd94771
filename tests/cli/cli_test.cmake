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
# Finder's first launch of the bundle adds a process serial number.
expect_run(ARGS -psn_0_1234 --version STATUS 0 OUTPUT_MATCHES "^Veltrin 1\\.6\n$")
string(ASCII 27 escape)
expect_run(ARGS "--frob${escape}c" STATUS 2 ERROR_MATCHES "^veltrin: unknown option --frob\\\\x1Bc\n$")
expect_run(ARGS --help STATUS 0 OUTPUT_MATCHES "--replay DIR")
expect_run(ARGS --frobnicate STATUS 2 ERROR_MATCHES "^veltrin: unknown option --frobnicate\n$")
expect_run(ARGS --replay STATUS 2 ERROR_MATCHES "^veltrin: [^\n]*\n$")
expect_run(ARGS --replay /no/such/capture --json STATUS 2 ERROR_MATCHES "^veltrin: [^\n]*/no/such/capture\n$")
expect_run(ARGS --replay ${capture} --json STATUS 0
           OUTPUT_MATCHES "^{\"cpu\":{\"name\":.*\"mainboard\":{.*\"memory\":{.*\"modules\":\\[.*\"gpus\":\\[.*}\n$")

# Apple Silicon seen by an Intel build: the processor's own fields as ever, then each
# kind of core with its caches, then the translation, then the silicon's own fields (none:
# under Rosetta CPUID answers for the translator, and the capture holds no hw.cpufamily).
expect_run(ARGS --replay ${FIXTURES}/captures/m3max-12p4e-rosetta --json STATUS 0
           OUTPUT_MATCHES "\"architecture\":\"x86_64\",[^}]*\"l1i\":\"128 KB\",\"l1d\":\"64 KB\",\"l2\":\"4 MB\",\"l3\":\"—\",\"features\":\"—\",\"clusters\":\\[{\"name\":\"Performance\",\"physicalCores\":\"12\",\"l1i\":\"192 KB\",\"l1d\":\"128 KB\",\"l2\":\"16 MB\"},{\"name\":\"Efficiency\",\"physicalCores\":\"4\",\"l1i\":\"128 KB\",\"l1d\":\"64 KB\",\"l2\":\"4 MB\"}\\],\"translated\":true,[^}]*\"kernelSignature\":\"\"},\"mainboard\"")

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

# A Linux machine's summary names its distribution under a label of its own; a
# genuine Mac's identity stays out of the physical board line.
expect_run(ARGS --replay ${FIXTURES}/captures/linux-imacpro1-1-vega56 --summary STATUS 0
           OUTPUT_MATCHES "\nReal motherboard:  \n.*\nmacOS SMBIOS: iMacPro1,1 / Mac-7BA5B2D9E42DDD94\n.*\nOS: Fedora Linux 40 \\(Forty\\)\nMemory: 32 GB DDR4 2666 MT/s\nGPU: Vega 10 XL \\[Radeon Pro Vega 56\\]\n$")

# A report goes to standard output, or into the file named in the form its name (or --format) says.
file(MAKE_DIRECTORY ${WORK})
expect_run(ARGS --replay ${capture} --report STATUS 0
           OUTPUT_MATCHES "^# Veltrin Hardware Report\n\n\\| Field \\| Value \\|\n.*\n## Processor\n.*\n## Benchmark\n")
foreach(target "report.html" "report.txt;--format;html")
  list(GET target 0 name)
  file(REMOVE ${WORK}/${name})
  expect_run(ARGS --replay ${capture} --report ${WORK}/${target} STATUS 0 OUTPUT_MATCHES "^$" ERROR_MATCHES "^$")
  file(READ ${WORK}/${name} page)
  if(NOT page MATCHES "^<!DOCTYPE html>\n.*</html>\n$")
    message(FATAL_ERROR "--report ${target} wrote no HTML page:\n${page}")
  endif()
endforeach()
expect_run(ARGS --replay ${capture} --report ${WORK}/no/such/folder/report.md STATUS 2
           ERROR_MATCHES "^veltrin: cannot write [^\n]*/no/such/folder/report.md: [^\n]*\n$")
expect_run(ARGS --diff ${capture} STATUS 2 ERROR_MATCHES "^veltrin: --diff needs two capture folders or JSON files\n$")

# A capture of this computer replays to what reading it live shows, apart from
# the figures that move between the two runs.
file(REMOVE_RECURSE ${WORK})
expect_run(ARGS --capture ${WORK}/this-machine STATUS 0)
foreach(file sysctl.txt uname-m.txt uname-r.txt uptime.txt platform.txt)
  if(NOT EXISTS ${WORK}/this-machine/${file})
    message(FATAL_ERROR "--capture wrote no ${file}")
  endif()
endforeach()
if(EXISTS ${WORK}/this-machine/SPHardwareDataType.txt AND NOT CMAKE_HOST_SYSTEM_NAME STREQUAL "Darwin")
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
file(WRITE ${WORK}/plain-file "")
expect_run(ARGS --capture ${WORK}/plain-file/capture STATUS 2 ERROR_MATCHES "^veltrin: [^\n]*\n$")
# A finished capture is replaced only when asked; a folder holding anything else never is.
expect_run(ARGS --capture ${WORK}/this-machine STATUS 2 ERROR_MATCHES "already holds a capture; add --replace")
expect_run(ARGS --capture ${WORK}/this-machine --replace STATUS 0)
expect_run(ARGS --capture ${FIXTURES} STATUS 2 ERROR_MATCHES "is not empty and holds no capture")
expect_run(ARGS --replace --json STATUS 2 ERROR_MATCHES "^veltrin: --replace only goes with --capture\n$")

# SIGTERM or SIGHUP while a tool runs: the tool and the helper it started are
# stopped, and veltrin ends with 128 + the signal number. The tool is a dmidecode
# shipped beside a copy of the program, where the live probe looks first. (A
# script's background job starts with SIGINT ignored, so SIGINT cannot be sent
# this way; it takes the same path.)
set(app ${WORK}/signals)
file(MAKE_DIRECTORY ${app}/Veltrin.app/Contents/Resources)
file(COPY ${VELTRIN} DESTINATION ${app})
get_filename_component(program ${VELTRIN} NAME)
file(WRITE ${app}/Veltrin.app/Contents/Resources/dmidecode
     "#!/bin/sh\nsleep 30 &\necho $$ $! > \"${app}/started\"\nwait\n")
file(CHMOD ${app}/Veltrin.app/Contents/Resources/dmidecode PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
foreach(signal TERM HUP)
  file(REMOVE ${app}/started)
  execute_process(COMMAND sh -c [=[
    cd "$1" || exit 90
    "./$2" --json >/dev/null 2>&1 & veltrin=$!
    tries=0
    while [ ! -s started ]; do
      sleep 0.05; tries=$((tries + 1))
      if [ $tries -gt 400 ]; then kill -KILL $veltrin; echo "the tool never started"; exit 0; fi
    done
    kill -$3 $veltrin
    wait $veltrin
    echo "status $?"
    sleep 0.2
    for pid in $(cat started); do
      case "$(ps -o stat= -p $pid)" in ""|Z*) ;; *) echo "left running: $pid"; kill -KILL $pid ;; esac
    done
  ]=] signals ${app} ${program} ${signal}
    OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  if(signal STREQUAL "TERM")
    set(expected "status 143\n")
  else()
    set(expected "status 129\n")
  endif()
  if(NOT out STREQUAL expected)
    message(FATAL_ERROR "SIG${signal} during --json: expected ${expected}got:\n${out}${err}")
  endif()
endforeach()
