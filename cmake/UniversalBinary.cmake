# One Veltrin.app for both kinds of Mac: on a Mac the build is for arm64 and x86_64
# together when every prebuilt library it links holds both, so that neither kind
# of Mac runs it translated. Homebrew's libraries hold only the processor they were
# built for; the build then stays native, and a copy built on an Intel Mac runs
# under Rosetta on Apple Silicon (the CPU tab says so). Setting
# CMAKE_OSX_ARCHITECTURES, or VELTRIN_UNIVERSAL=OFF, decides instead.
#
# Included from the top-level CMakeLists.txt after ICU is found and before any
# target exists: a target takes its architectures when it is created.

if(NOT APPLE)
  return()
endif()
option(VELTRIN_UNIVERSAL "Build for arm64 and x86_64 together when the libraries found hold both" ON)
if(NOT VELTRIN_UNIVERSAL OR CMAKE_OSX_ARCHITECTURES)
  return()
endif()

# Every library the build links that it does not build itself, found as the
# folders below will find them (Sparkle, which ships for both, and the system's own
# frameworks aside).
set(linked ICU::uc ICU::i18n)
if(VELTRIN_BUILD_APP)
  find_package(Qt6 QUIET COMPONENTS Core Gui Widgets Svg Test)
  list(APPEND linked Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Svg Qt6::Test)
endif()
if(VELTRIN_BUILD_TESTS)
  find_package(GTest QUIET)
  list(APPEND linked GTest::gtest GTest::gtest_main)
endif()
if(VELTRIN_BUILD_PERF)
  find_package(benchmark QUIET)
  list(APPEND linked benchmark::benchmark)
endif()

# The first library that lacks one of the two decides.
find_program(VELTRIN_LIPO lipo REQUIRED)
set(blocker "")
foreach(target IN LISTS linked)
  if(NOT TARGET ${target} OR blocker)
    continue()
  endif()
  get_target_property(file ${target} LOCATION)
  execute_process(COMMAND ${VELTRIN_LIPO} -archs ${file} OUTPUT_VARIABLE archs ERROR_QUIET
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  separate_arguments(held UNIX_COMMAND "${archs}")
  if(NOT "arm64" IN_LIST held OR NOT "x86_64" IN_LIST held)
    if(NOT archs)
      set(archs "nothing lipo can read")
    endif()
    set(blocker "${file} holds ${archs}")
  endif()
endforeach()
if(blocker)
  message(STATUS "Building for this Mac's processor only: ${blocker}")
else()
  set(CMAKE_OSX_ARCHITECTURES arm64 x86_64)
  message(STATUS "Building for arm64 and x86_64: every library found holds both")
endif()
