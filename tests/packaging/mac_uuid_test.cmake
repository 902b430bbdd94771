# How the build finds the uuid functions, configured in scratch projects where
# find_path and find_library can find nothing, as on a Mac whose CMake sets no SDK:
# as a Mac build, the compiler's own view of uuid/uuid.h is enough (and its failure
# is explained); elsewhere a missing header stops the configuration.
# Called with -DSOURCE=<repository> -DWORK=<scratch folder> -DGENERATOR=<generator>
# -DCXX=<C++ compiler>.

cmake_minimum_required(VERSION 3.25) # empty list elements count
set(failures "")
# case name, APPLE, extra flags for the compiler checks, expected status, expected text
foreach(case "mac;1;;0;uuid: \\[\\] \\[\\]"
             "mac-without-sdk;1;-nostdinc;1;cannot include uuid/uuid.h"
             "linux;0;;1;uuid/uuid.h not found \\(install uuid-dev\\)")
  list(GET case 0 name)
  list(GET case 1 apple)
  list(GET case 2 flags)
  list(GET case 3 expected_status)
  list(GET case 4 expected_text)
  set(project ${WORK}/${name})
  file(REMOVE_RECURSE ${project})
  file(WRITE ${project}/CMakeLists.txt
    "cmake_minimum_required(VERSION 3.25)\n"
    "project(uuid_check CXX)\n"
    "set(APPLE ${apple})\n"
    "set(CMAKE_REQUIRED_FLAGS \"${flags}\")\n"
    "set(CMAKE_FIND_ROOT_PATH ${project}/nothing)\n"
    "set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)\n"
    "set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)\n"
    "include(${SOURCE}/cmake/Uuid.cmake)\n"
    "message(STATUS \"uuid: [\${UUID_INCLUDE_DIR}] [\${VELTRIN_UUID_LIBRARIES}]\")\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${project} -B ${project}/build -G ${GENERATOR}
                          -DCMAKE_CXX_COMPILER=${CXX}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    set(status 1)
  endif()
  string(REGEX REPLACE "[ \n]+" " " text "${out}${err}") # CMake wraps long messages
  if(NOT status EQUAL expected_status OR NOT text MATCHES "${expected_text}")
    string(APPEND failures "\n${name}: status ${status}, expected ${expected_status} and \"${expected_text}\":\n${out}${err}")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "uuid configuration:${failures}")
endif()
file(REMOVE_RECURSE ${WORK})
