# Signs a filled Veltrin.app from the inside out, each piece of nested code on its
# own and the bundle last, so that every seal covers code already signed. Never
# `codesign --deep`: it would sign Sparkle's helpers with the app's options, and a
# notarised app signed that way cannot install updates.
#
# Sparkle's own order for its framework (https://sparkle-project.org/documentation/sandboxing/,
# "Code Signing"): the XPC services Installer.xpc and Downloader.xpc (keeping the
# Downloader's entitlements), Autoupdate, Updater.app, then the framework itself.
#
# With a real identity every piece gets the hardened runtime and a secure time stamp,
# which notarisation requires; "-" signs ad hoc, without them (an ad-hoc app with the
# hardened runtime would refuse to load its own ad-hoc frameworks).
#
# Called while installing (cmake/MacBundle.cmake); runs anywhere, so that a test can
# check the order with a stand-in codesign.
include_guard(GLOBAL)

# veltrin_sign_bundle(BUNDLE path IDENTITY id CODESIGN program [NESTED relative paths…])
# NESTED names further code inside the bundle (a bundled tool), signed before it.
function(veltrin_sign_bundle)
  cmake_parse_arguments(SIGN "" "BUNDLE;IDENTITY;CODESIGN" "NESTED" ${ARGN})
  set(sign "${SIGN_CODESIGN}" --force --sign "${SIGN_IDENTITY}")
  if(NOT SIGN_IDENTITY STREQUAL "-")
    list(APPEND sign --options runtime --timestamp)
  endif()
  set(contents "${SIGN_BUNDLE}/Contents")

  # What macdeployqt copied in (Qt's frameworks and plug-ins, the libraries they
  # link) and the bundled tools: none of them holds code of another.
  file(GLOB libraries LIST_DIRECTORIES false "${contents}/Frameworks/*.dylib")
  file(GLOB_RECURSE plugins LIST_DIRECTORIES false "${contents}/PlugIns/*.dylib")
  file(GLOB frameworks LIST_DIRECTORIES true "${contents}/Frameworks/*.framework")
  list(FILTER frameworks EXCLUDE REGEX "/Sparkle\\.framework$")
  set(nested ${libraries} ${plugins})
  foreach(path IN LISTS SIGN_NESTED)
    list(APPEND nested "${SIGN_BUNDLE}/${path}")
  endforeach()
  list(APPEND nested ${frameworks})
  foreach(path IN LISTS nested)
    _veltrin_run(${sign} "${path}")
  endforeach()

  set(sparkle "${contents}/Frameworks/Sparkle.framework")
  if(EXISTS "${sparkle}")
    file(REAL_PATH "${sparkle}/Versions/Current" version)
    # A framework may leave out the XPC services (applications that are not sandboxed
    # do not use them); what is there is signed.
    foreach(helper XPCServices/Installer.xpc XPCServices/Downloader.xpc Autoupdate Updater.app)
      if(EXISTS "${version}/${helper}")
        set(keep "")
        if(helper STREQUAL "XPCServices/Downloader.xpc")
          set(keep --preserve-metadata=entitlements)
        endif()
        _veltrin_run(${sign} ${keep} "${version}/${helper}")
      endif()
    endforeach()
    _veltrin_run(${sign} "${sparkle}")
  endif()

  _veltrin_run(${sign} "${SIGN_BUNDLE}")
  # Checking, unlike signing, goes deep: every seal inside must hold.
  _veltrin_run("${SIGN_CODESIGN}" --verify --deep --strict "${SIGN_BUNDLE}")
endfunction()

function(_veltrin_run)
  execute_process(COMMAND ${ARGN} COMMAND_ERROR_IS_FATAL ANY)
endfunction()
