# The order and options Veltrin.app is signed with, by a stand-in codesign that
# records each call, for a bundle laid out as installing leaves it: Qt's framework,
# a plug-in and a library from macdeployqt, a bundled dmidecode, and Sparkle 2's
# framework with its helpers. Ad hoc, and with an identity (hardened runtime, time stamp).
# Called with -DWORK=<scratch folder>.

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/SignBundle.cmake)
file(REMOVE_RECURSE ${WORK})
set(app ${WORK}/Veltrin.app)
set(sparkle ${app}/Contents/Frameworks/Sparkle.framework)
foreach(folder MacOS Frameworks/QtCore.framework/Versions/A PlugIns/platforms Resources)
  file(MAKE_DIRECTORY ${app}/Contents/${folder})
endforeach()
foreach(folder XPCServices/Installer.xpc/Contents XPCServices/Downloader.xpc/Contents Updater.app/Contents)
  file(MAKE_DIRECTORY ${sparkle}/Versions/B/${folder})
endforeach()
file(CREATE_LINK B ${sparkle}/Versions/Current SYMBOLIC)
foreach(file MacOS/Veltrin Frameworks/libicuuc.74.dylib PlugIns/platforms/libqcocoa.dylib Resources/dmidecode
             Frameworks/Sparkle.framework/Versions/B/Autoupdate Frameworks/Sparkle.framework/Versions/B/Sparkle)
  file(WRITE ${app}/Contents/${file} "")
endforeach()

set(log ${WORK}/codesign.log)
file(WRITE ${WORK}/codesign "#!/bin/sh\necho \"$*\" >>'${log}'\n")
file(CHMOD ${WORK}/codesign PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

set(failures "")
foreach(identity "-" "Developer ID Application: Example (ABCDE12345)")
  file(REMOVE ${log})
  veltrin_sign_bundle(BUNDLE ${app} IDENTITY "${identity}" CODESIGN ${WORK}/codesign
                      NESTED Contents/Resources/dmidecode)
  set(sign "--force --sign ${identity}")
  if(NOT identity STREQUAL "-")
    string(APPEND sign " --options runtime --timestamp")
  endif()
  set(b ${sparkle}/Versions/B)
  string(CONCAT expected
    "${sign} ${app}/Contents/Frameworks/libicuuc.74.dylib\n"
    "${sign} ${app}/Contents/PlugIns/platforms/libqcocoa.dylib\n"
    "${sign} ${app}/Contents/Resources/dmidecode\n"
    "${sign} ${app}/Contents/Frameworks/QtCore.framework\n"
    "${sign} ${b}/XPCServices/Installer.xpc\n"
    "${sign} --preserve-metadata=entitlements ${b}/XPCServices/Downloader.xpc\n"
    "${sign} ${b}/Autoupdate\n"
    "${sign} ${b}/Updater.app\n"
    "${sign} ${sparkle}\n"
    "${sign} ${app}\n"
    "--verify --deep --strict ${app}\n")
  file(READ ${log} calls)
  if(NOT calls STREQUAL expected)
    string(APPEND failures "\nsigned with \"${identity}\":\n${calls}expected:\n${expected}")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "codesign calls differ:${failures}")
endif()
file(REMOVE_RECURSE ${WORK})
