# The oldest macOS a Mac build claims: Qt's documented minimum for each release, and
# the minimum read from Mach-O files, here objects compiled for the targets below and
# read back with LLVM's otool and objdump (Apple's tools print the same load commands).
# Called with -DCLANG=<clang> -DOTOOL=<llvm-otool> -DOBJDUMP=<llvm-objdump>
# -DLIPO=<llvm-lipo> -DWORK=<scratch folder>.

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/MacMinimumSystem.cmake)
set(failures "")
function(expect what actual expected)
  if(NOT actual STREQUAL expected)
    set(failures "${failures}\n  ${what}: \"${actual}\", expected \"${expected}\"" PARENT_SCOPE)
  endif()
endfunction()

# Qt release (as Qt6_VERSION gives it) → oldest macOS. 6.6 and 6.7 have no page and
# take 6.8's; before 6.5 the C++ library's floor decides anyway.
foreach(pair "6.4.2=11.0" "6.5.3=11.0" "6.6.0=12.0" "6.7.3=12.0" "6.8.1=12.0" "6.9.3=12.0"
             "6.10.1=13.0" "6.11.0=13.0" "6.12.0=14.4" "6.13.0=14.4" "=13.0")
  string(REGEX MATCH "^([^=]*)=(.*)$" _ "${pair}")
  set(qt "${CMAKE_MATCH_1}")
  set(expected "${CMAKE_MATCH_2}")
  veltrin_qt_oldest_macos(minimum "${qt}")
  expect("Qt \"${qt}\"" "${minimum}" "${expected}")
endforeach()

# Objects as the compiler writes them: the newer load command (LC_BUILD_VERSION), the
# older one (LC_VERSION_MIN_MACOSX, which clang still writes below 10.14), and one for
# Mac Catalyst, whose iOS version numbers are not macOS's.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/empty.c "int veltrin_empty(void) { return 0; }\n")
file(WRITE ${WORK}/not-macho.txt "text\n")
foreach(pair "arm64-apple-macos14.0=14.0" "x86_64-apple-macos10.13=10.13" "arm64-apple-ios16.0-macabi=")
  string(REGEX MATCH "^([^=]*)=(.*)$" _ "${pair}")
  set(target "${CMAKE_MATCH_1}")
  set(expected "${CMAKE_MATCH_2}")
  execute_process(COMMAND ${CLANG} -target ${target} -c ${WORK}/empty.c -o ${WORK}/${target}.o
                  COMMAND_ERROR_IS_FATAL ANY)
  veltrin_files_oldest_macos(minimum file ${OTOOL} ${WORK}/${target}.o)
  expect("${target}" "${minimum}" "${expected}")
endforeach()

# Several files: the newest minimum wins and is named; a file that is not Mach-O counts for nothing.
veltrin_files_oldest_macos(minimum file ${OTOOL} ${WORK}/x86_64-apple-macos10.13.o ${WORK}/not-macho.txt
                           ${WORK}/arm64-apple-macos14.0.o ${WORK}/arm64-apple-ios16.0-macabi.o)
expect("three objects" "${minimum} ${file}" "14.0 ${WORK}/arm64-apple-macos14.0.o")
veltrin_files_oldest_macos(minimum file ${OTOOL} ${WORK}/not-macho.txt)
expect("a text file" "${minimum}" "")

# A universal file lists every architecture's load commands, one after the other.
execute_process(COMMAND ${LIPO} -create ${WORK}/x86_64-apple-macos10.13.o ${WORK}/arm64-apple-macos14.0.o
                        -output ${WORK}/universal.o COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${OBJDUMP} --macho --private-headers --arch=all ${WORK}/universal.o
                OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
veltrin_macho_oldest_macos(minimum "${text}")
expect("universal object" "${minimum}" "14.0")

# The bundle check names the library that needs a newer macOS than the bundle claims.
set(bundle ${WORK}/Veltrin.app)
file(MAKE_DIRECTORY ${bundle}/Contents/Frameworks ${bundle}/Contents/Resources)
file(COPY_FILE ${WORK}/x86_64-apple-macos10.13.o ${bundle}/Contents/Resources/dmidecode)
file(COPY_FILE ${WORK}/arm64-apple-macos14.0.o ${bundle}/Contents/Frameworks/libicuuc.74.dylib)
file(WRITE ${bundle}/Contents/Info.plist "<plist/>\n")
# Run apart, as installing runs it, so that its failure can be seen.
file(WRITE ${WORK}/check.cmake "include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/MacMinimumSystem.cmake)\n"
                                "veltrin_check_bundle_minimum(\${BUNDLE} \${CLAIM} \${OTOOL})\n")
foreach(claim 14.0 13.0)
  execute_process(COMMAND ${CMAKE_COMMAND} -DBUNDLE=${bundle} -DCLAIM=${claim} -DOTOOL=${OTOOL} -P ${WORK}/check.cmake
                  RESULT_VARIABLE status ERROR_VARIABLE err)
  string(REGEX REPLACE "[ \n]+" " " err "${err}") # CMake wraps long messages
  string(REGEX MATCH "libicuuc.74.dylib needs macOS 14.0, but the bundle claims macOS 13.0" named "${err}")
  if(claim STREQUAL 14.0)
    expect("bundle claiming 14.0" "${status}" "0")
  else()
    expect("bundle claiming 13.0" "${status} ${named}"
           "1 libicuuc.74.dylib needs macOS 14.0, but the bundle claims macOS 13.0")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "oldest macOS:${failures}")
endif()
file(REMOVE_RECURSE ${WORK})
