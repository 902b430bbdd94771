# Installs the build into a scratch folder as a package would (prefix /usr) and checks
# that it holds exactly the expected files, each accepted by the desktop's own validators.
# Called with -DBUILD=<build folder> -DWORK=<scratch folder> -DAPP_ID=<application id>
# -DVERSION=<project version>.

function(require_program variable name package)
  find_program(${variable} ${name})
  if(NOT ${variable})
    message(FATAL_ERROR "${name} is missing: install ${package} (./scripts/deps does)")
  endif()
endfunction()
require_program(DESKTOP_FILE_VALIDATE desktop-file-validate desktop-file-utils)
require_program(APPSTREAMCLI appstreamcli appstream)
require_program(MAN man man-db)

file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${WORK} ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${err}")
endif()

set(icon_sizes 16 24 32 48 64 128 256 512)
set(expected
  usr/bin/veltrin
  usr/share/applications/${APP_ID}.desktop
  usr/share/bash-completion/completions/veltrin
  usr/share/doc/veltrin/LICENSE
  usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg
  usr/share/man/man1/veltrin.1
  usr/share/metainfo/${APP_ID}.metainfo.xml
  usr/share/veltrin/snapshot.schema.json
  usr/share/zsh/site-functions/_veltrin)
foreach(size IN LISTS icon_sizes)
  list(APPEND expected usr/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
list(SORT expected)
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${WORK} ${WORK}/*)
list(SORT installed)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " installed "${installed}")
  string(REPLACE ";" "\n  " expected "${expected}")
  message(FATAL_ERROR "installed files differ:\n  ${installed}\nexpected:\n  ${expected}")
endif()

# Each PNG is really the size its folder names (the IHDR width and height).
foreach(size IN LISTS icon_sizes)
  file(READ ${WORK}/usr/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 32 8 width)
  string(SUBSTRING "${header}" 40 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT header MATCHES "^89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
    message(FATAL_ERROR "the ${size}x${size} icon is not a ${size} x ${size} PNG: ${header}")
  endif()
endforeach()

set(share ${WORK}/usr/share)
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${share}/applications/${APP_ID}.desktop
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: status ${status}\n${out}${err}")
endif()

# AppStream: the metadata alone, then with the desktop entry and icons it points to.
foreach(check "validate;${share}/metainfo/${APP_ID}.metainfo.xml" "validate-tree;${WORK}/usr")
  execute_process(COMMAND ${APPSTREAMCLI} ${check} --no-net RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "appstreamcli ${check}: status ${status}\n${out}${err}")
  endif()
endforeach()

# The newest release the metadata announces is this version.
file(READ ${share}/metainfo/${APP_ID}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<releases>[ \n]*<release version=\"([^\"]*)\"" OR NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "the metadata's newest release is \"${CMAKE_MATCH_1}\", not ${VERSION}: add a <release>")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E env MANWIDTH=80 ${MAN} --warnings -l ${share}/man/man1/veltrin.1
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "man --warnings: status ${status}\n${err}")
endif()
file(REMOVE_RECURSE ${WORK})
