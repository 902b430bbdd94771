# The oldest macOS a Mac build claims (LSMinimumSystemVersion) and targets
# (CMAKE_OSX_DEPLOYMENT_TARGET): the newest of
#   - macOS 11, whose C++ library first has std::counting_semaphore and std::latch,
#     which the benchmark uses;
#   - the oldest macOS the Qt it links supports, as Qt documents it;
#   - the oldest macOS the Qt and ICU libraries it links were built for, read from
#     their Mach-O load commands: Homebrew builds its bottles for the macOS they
#     were built on, which is often newer than Qt's own minimum.
# A deployment target set by hand is kept when it is not older than that.
# Installing the bundle checks the claim against every library copied into it.
#
# The functions run anywhere (a test calls them with cmake -P); on other systems,
# with no Mac's Qt to go by, the minimum is the one for an unknown Qt.
include_guard(GLOBAL)

# From Qt's "Qt for macOS" page, "Supported Configurations", of each release
# (https://doc.qt.io/qt-6.<minor>/macos.html): the oldest target platform, as
# pairs of Qt version and macOS version, oldest Qt first. Qt 6.5: macOS 11;
# 6.8: 12; 6.9: 12; 6.10: 13; 6.11: 13; 6.12: 14.4.
set(VELTRIN_QT_OLDEST_MACOS 6.5 11.0 6.8 12.0 6.9 12.0 6.10 13.0 6.11 13.0 6.12 14.4)
# What is claimed when the Qt version is not known (and for a newer Qt, at least).
set(VELTRIN_MACOS_WHEN_UNSURE 13.0)
set(VELTRIN_MACOS_FLOOR 11.0)

# The newest of the versions given.
function(veltrin_newest_version out)
  set(newest "")
  foreach(version IN LISTS ARGN)
    if(version AND (NOT newest OR version VERSION_GREATER newest))
      set(newest ${version})
    endif()
  endforeach()
  set(${out} "${newest}" PARENT_SCOPE)
endfunction()

# The oldest macOS Qt `qt_version` supports. A release between two of the table's
# takes the later one's (no page was found for 6.6 and 6.7), an older one the first's,
# a newer one the last's, and an unknown one VELTRIN_MACOS_WHEN_UNSURE's.
function(veltrin_qt_oldest_macos out qt_version)
  if(NOT qt_version)
    set(${out} ${VELTRIN_MACOS_WHEN_UNSURE} PARENT_SCOPE)
    return()
  endif()
  string(REGEX MATCH "^[0-9]+\\.[0-9]+" release "${qt_version}")
  set(pairs ${VELTRIN_QT_OLDEST_MACOS})
  while(pairs)
    list(POP_FRONT pairs qt macos)
    if(NOT release VERSION_GREATER qt)
      set(${out} ${macos} PARENT_SCOPE)
      return()
    endif()
  endwhile()
  veltrin_newest_version(newest ${macos} ${VELTRIN_MACOS_WHEN_UNSURE})
  set(${out} ${newest} PARENT_SCOPE)
endfunction()

# The newest macOS minimum in `otool -l` text: "minos" of each LC_BUILD_VERSION for
# the macOS platform (1, or its name, as LLVM's otool prints it), "version" of each
# LC_VERSION_MIN_MACOSX; empty when there is neither (not a Mach-O file).
function(veltrin_macho_oldest_macos out text)
  string(REPLACE ";" "," text "${text}")
  string(REGEX REPLACE "\r?\n" ";" lines "${text}")
  set(command "")
  set(platform "")
  set(versions)
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line MATCHES "^cmd (.*)$")
      set(command ${CMAKE_MATCH_1})
      set(platform "")
    elseif(command STREQUAL "LC_BUILD_VERSION" AND line MATCHES "^platform (.*)$")
      string(TOLOWER "${CMAKE_MATCH_1}" platform)
    elseif(command STREQUAL "LC_BUILD_VERSION" AND platform MATCHES "^(1|macos)$"
           AND line MATCHES "^minos ([0-9.]+)$")
      list(APPEND versions ${CMAKE_MATCH_1})
    elseif(command STREQUAL "LC_VERSION_MIN_MACOSX" AND line MATCHES "^version ([0-9.]+)$")
      list(APPEND versions ${CMAKE_MATCH_1})
    endif()
  endforeach()
  veltrin_newest_version(newest ${versions})
  set(${out} "${newest}" PARENT_SCOPE)
endfunction()

# The newest macOS minimum among the Mach-O files given, with the file that has it,
# as read by `otool` (every architecture of a universal file).
function(veltrin_files_oldest_macos out_version out_file otool)
  set(newest "")
  set(newest_file "")
  foreach(file IN LISTS ARGN)
    execute_process(COMMAND ${otool} -arch all -l ${file} OUTPUT_VARIABLE text ERROR_QUIET)
    veltrin_macho_oldest_macos(version "${text}")
    if(version AND (NOT newest OR version VERSION_GREATER newest))
      set(newest ${version})
      set(newest_file ${file})
    endif()
  endforeach()
  set(${out_version} "${newest}" PARENT_SCOPE)
  set(${out_file} "${newest_file}" PARENT_SCOPE)
endfunction()

# The build's minimum (see the top of this file), with a line saying where it came from.
# Called where the build is configured, after ICU and (below) Qt are found.
function(veltrin_macos_minimum out)
  if(NOT APPLE)
    set(${out} ${VELTRIN_MACOS_WHEN_UNSURE} PARENT_SCOPE)
    return()
  endif()
  set(parts ${VELTRIN_MACOS_FLOOR})
  set(reasons "macOS ${VELTRIN_MACOS_FLOOR} for the C++ library")
  set(linked ICU::uc ICU::i18n)
  if(VELTRIN_BUILD_APP AND TARGET Qt6::Core)
    veltrin_qt_oldest_macos(qt_minimum "${Qt6_VERSION}")
    list(APPEND parts ${qt_minimum})
    list(APPEND reasons "macOS ${qt_minimum} for Qt ${Qt6_VERSION}")
    list(APPEND linked Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Svg)
  endif()
  find_program(VELTRIN_OTOOL otool REQUIRED)
  set(files)
  foreach(target IN LISTS linked)
    if(TARGET ${target})
      get_target_property(file ${target} LOCATION)
      if(file)
        list(APPEND files ${file})
      endif()
    endif()
  endforeach()
  veltrin_files_oldest_macos(built_for built_file ${VELTRIN_OTOOL} ${files})
  if(built_for)
    list(APPEND parts ${built_for})
    list(APPEND reasons "macOS ${built_for} that ${built_file} was built for")
  endif()
  veltrin_newest_version(minimum ${parts})

  set(chosen "$CACHE{CMAKE_OSX_DEPLOYMENT_TARGET}")
  if(chosen AND chosen VERSION_LESS minimum)
    message(WARNING "CMAKE_OSX_DEPLOYMENT_TARGET ${chosen} is older than this build can run on; "
                    "building for macOS ${minimum} instead (${reasons})")
  elseif(chosen)
    set(minimum ${chosen})
    list(APPEND reasons "macOS ${chosen} chosen with CMAKE_OSX_DEPLOYMENT_TARGET")
  endif()
  list(JOIN reasons ", " reasons)
  message(STATUS "Oldest macOS: ${minimum} (the newest of ${reasons})")
  set(${out} ${minimum} PARENT_SCOPE)
endfunction()

# Fails unless every Mach-O file in `bundle` runs on macOS `minimum`: run after the
# bundle has been filled, so that what macdeployqt copied in is checked too.
function(veltrin_check_bundle_minimum bundle minimum otool)
  file(GLOB_RECURSE files LIST_DIRECTORIES false "${bundle}/Contents/MacOS/*" "${bundle}/Contents/Frameworks/*"
       "${bundle}/Contents/PlugIns/*" "${bundle}/Contents/Resources/*")
  # Data files are not asked about, nor links (a framework's point at its binary).
  list(FILTER files EXCLUDE REGEX "\\.(plist|icns|png|svg|strings|nib|car|qm|conf|css|html|js|json|txt|h|prl)$")
  set(binaries)
  foreach(file IN LISTS files)
    if(NOT IS_SYMLINK ${file})
      list(APPEND binaries ${file})
    endif()
  endforeach()
  veltrin_files_oldest_macos(built_for built_file ${otool} ${binaries})
  if(built_for AND built_for VERSION_GREATER minimum)
    message(FATAL_ERROR "${built_file} needs macOS ${built_for}, but the bundle claims macOS ${minimum}: "
                        "configure again so that the build reads the libraries it links")
  endif()
endfunction()

# Configuring a Mac build that links Qt: Qt is found here, before any target exists,
# so that its version and its libraries can be read.
if(APPLE AND VELTRIN_BUILD_APP AND NOT CMAKE_SCRIPT_MODE_FILE)
  find_package(Qt6 QUIET COMPONENTS Core Gui Widgets Svg)
endif()
