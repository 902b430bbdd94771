# The uuid functions: libuuid and its header on Linux (uuid-dev). On a Mac they are
# part of the C library and the header is the SDK's, which the compiler finds by
# itself but find_path may not (CMake 4 sets no CMAKE_OSX_SYSROOT by default), so
# there the header is tried with the compiler instead.
# Sets UUID_INCLUDE_DIR (empty when the compiler needs no folder) and
# VELTRIN_UUID_LIBRARIES (empty on a Mac).
if(APPLE)
  include(CheckIncludeFileCXX)
  check_include_file_cxx(uuid/uuid.h VELTRIN_HAVE_UUID_H)
  if(NOT VELTRIN_HAVE_UUID_H)
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} cannot include uuid/uuid.h: is the macOS SDK installed "
                        "(xcode-select --install)?")
  endif()
  set(UUID_INCLUDE_DIR "")
  set(VELTRIN_UUID_LIBRARIES "")
  return()
endif()

find_path(UUID_INCLUDE_DIR uuid/uuid.h)
if(NOT UUID_INCLUDE_DIR)
  message(FATAL_ERROR "uuid/uuid.h not found (install uuid-dev)")
endif()
find_library(UUID_LIBRARY uuid)
if(NOT UUID_LIBRARY)
  message(FATAL_ERROR "libuuid not found (install uuid-dev)")
endif()
set(VELTRIN_UUID_LIBRARIES "${UUID_LIBRARY}")
