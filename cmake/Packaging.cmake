# One CPack configuration: a .deb and a .tar.gz on Linux, a .dmg on a Mac. The
# packages hold exactly what `cmake --install` puts in place (cmake/Install.cmake,
# cmake/MacBundle.cmake). scripts/package builds them from the release preset.

set(CPACK_PACKAGE_NAME veltrin)
set(CPACK_PACKAGE_VENDOR "The Veltrin developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Hardware inspector with a CPU benchmark")
# Debian shows the description as it is written: lines under 80 characters.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Veltrin shows what this computer reports about its processor, caches,\n"
  "mainboard and firmware, memory and memory modules, and graphics adapters,\n"
  "in one window with a tab for each. It runs a deterministic integer CPU\n"
  "benchmark, and copies a plain-text hardware summary to the clipboard.\n"
  ".\n"
  "The veltrin command prints the same information as text or JSON, and saves\n"
  "the output of every tool it runs into a folder that can be inspected again\n"
  "later, on any computer. Nothing is sent anywhere.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${VELTRIN_HOMEPAGE_URL}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_CONTACT "${VELTRIN_AUTHOR_CREDIT} <${VELTRIN_AUTHOR_EMAIL}>")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)

if(APPLE)
  set(CPACK_GENERATOR DragNDrop)
  set(CPACK_PACKAGE_FILE_NAME Veltrin-${PROJECT_VERSION})
  set(CPACK_DMG_VOLUME_NAME Veltrin)
  # The bundle is signed while it is installed; stripping afterwards would break the seal.
  set(CPACK_STRIP_FILES OFF)
else()
  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_PACKAGE_FILE_NAME veltrin-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # Dependencies come from the shared libraries the program actually links.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Board, firmware and memory-module details come from dmidecode; Wayland sessions
  # need Qt's Wayland platform.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "dmidecode, qt6-wayland")
  # Debian's layout for a few files differs from a plain install; see the script.
  set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianStaging.cmake)
  set(CPACK_VELTRIN_SOURCE_DIR ${PROJECT_SOURCE_DIR})
endif()

include(CPack)
