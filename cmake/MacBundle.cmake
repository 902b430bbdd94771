# The application a Mac user expects: Veltrin.app with its Info.plist and icon, an
# optional dmidecode and Sparkle inside, Qt deployed into it and the whole signed.
# Included from app/CMakeLists.txt, where the veltrin target lives. The Info.plist
# is configured on every platform so that its test runs everywhere.

include(${CMAKE_CURRENT_LIST_DIR}/InfoPlist.cmake)

set(VELTRIN_BUNDLE_NAME Veltrin)
set(VELTRIN_SPARKLE_FEED_URL "https://example.org/veltrin/appcast.xml" CACHE STRING
    "Sparkle appcast address (SUFeedURL), used where the build finds Sparkle")
set(VELTRIN_SPARKLE_PUBLIC_KEY "" CACHE STRING "Sparkle EdDSA public key (SUPublicEDKey) the updates are signed with")
set(VELTRIN_CODESIGN_IDENTITY "-" CACHE STRING "codesign identity for the bundle; - signs ad hoc")
set(VELTRIN_BUNDLED_DMIDECODE "" CACHE FILEPATH "A dmidecode executable to ship in Contents/Resources (optional)")

file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE copyright REGEX "^Copyright " LIMIT_COUNT 1)
string(REPLACE "(c)" "©" copyright "${copyright}")
set(feed_url "")
set(public_key "")
if(APPLE AND SPARKLE_FRAMEWORK)
  set(feed_url "${VELTRIN_SPARKLE_FEED_URL}")
  set(public_key "${VELTRIN_SPARKLE_PUBLIC_KEY}")
  if(NOT VELTRIN_SPARKLE_PUBLIC_KEY)
    message(WARNING "Sparkle is found but VELTRIN_SPARKLE_PUBLIC_KEY is empty: Sparkle will refuse every update")
  endif()
endif()
# The minimum is the build's own (cmake/MacMinimumSystem.cmake), the same the
# compiler targets on a Mac.
veltrin_configure_info_plist(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/Info.plist
  EXECUTABLE ${VELTRIN_BUNDLE_NAME} ICON ${VELTRIN_BUNDLE_NAME}.icns IDENTIFIER ${VELTRIN_APP_ID}
  VERSION ${PROJECT_VERSION} MINIMUM_SYSTEM ${VELTRIN_MACOS_MINIMUM} COPYRIGHT "${copyright}"
  FEED_URL "${feed_url}" PUBLIC_KEY "${public_key}")
# What went in, for the test that reads the file back.
set_property(GLOBAL PROPERTY VELTRIN_INFO_PLIST_FEED_URL "${feed_url}")
set_property(GLOBAL PROPERTY VELTRIN_INFO_PLIST_PUBLIC_KEY "${public_key}")

if(NOT APPLE)
  return()
endif()

set_target_properties(veltrin PROPERTIES
  MACOSX_BUNDLE TRUE
  OUTPUT_NAME ${VELTRIN_BUNDLE_NAME}
  MACOSX_BUNDLE_INFO_PLIST ${CMAKE_CURRENT_BINARY_DIR}/Info.plist)

if(TARGET veltrin_ui AND Qt6_VERSION VERSION_LESS 6.8)
  message(WARNING "Qt ${Qt6_VERSION} has no colour-scheme hint: the title bar and menus follow the system "
                  "appearance instead of the dark theme (Qt 6.8 or later makes them dark)")
endif()

# The icon: the application image rendered at every size an .icns holds, then packed by iconutil.
if(TARGET veltrin_ui)
  include(${CMAKE_CURRENT_LIST_DIR}/Icons.cmake)
  find_program(VELTRIN_ICONUTIL iconutil REQUIRED)
  set(iconset ${CMAKE_CURRENT_BINARY_DIR}/${VELTRIN_BUNDLE_NAME}.iconset)
  set(icns ${CMAKE_CURRENT_BINARY_DIR}/${VELTRIN_BUNDLE_NAME}.icns)
  file(MAKE_DIRECTORY ${iconset})
  set(icon_pairs)
  set(icon_files)
  foreach(size 16 32 128 256 512)
    math(EXPR double "${size} * 2")
    list(APPEND icon_pairs ${size} ${iconset}/icon_${size}x${size}.png ${double} ${iconset}/icon_${size}x${size}@2x.png)
    list(APPEND icon_files ${iconset}/icon_${size}x${size}.png ${iconset}/icon_${size}x${size}@2x.png)
  endforeach()
  veltrin_render_icons(${icon_pairs})
  add_custom_command(OUTPUT ${icns}
    COMMAND ${VELTRIN_ICONUTIL} --convert icns --output ${icns} ${iconset}
    DEPENDS ${icon_files}
    COMMENT "Packing ${VELTRIN_BUNDLE_NAME}.icns"
    VERBATIM)
  target_sources(veltrin PRIVATE ${icns})
  set_source_files_properties(${icns} PROPERTIES MACOSX_PACKAGE_LOCATION Resources)
endif()

# The schema of the --json output, where a Mac keeps an application's documents.
set(schema ${PROJECT_SOURCE_DIR}/packaging/snapshot.schema.json)
target_sources(veltrin PRIVATE ${schema})
set_source_files_properties(${schema} PROPERTIES MACOSX_PACKAGE_LOCATION Resources)

# Veltrin looks for Contents/Resources/dmidecode before the usual install locations.
set(signed_resources)
if(VELTRIN_BUNDLED_DMIDECODE)
  if(NOT EXISTS "${VELTRIN_BUNDLED_DMIDECODE}")
    message(FATAL_ERROR "VELTRIN_BUNDLED_DMIDECODE names no file: ${VELTRIN_BUNDLED_DMIDECODE}")
  endif()
  # Copied under the name the lookup expects, whatever the file is called.
  set(dmidecode ${CMAKE_CURRENT_BINARY_DIR}/bundled/dmidecode)
  configure_file(${VELTRIN_BUNDLED_DMIDECODE} ${dmidecode} COPYONLY)
  target_sources(veltrin PRIVATE ${dmidecode})
  set_source_files_properties(${dmidecode} PROPERTIES MACOSX_PACKAGE_LOCATION Resources)
  list(APPEND signed_resources Contents/Resources/dmidecode)
endif()

# Sparkle is loaded from the bundle's Frameworks folder.
if(SPARKLE_FRAMEWORK)
  get_filename_component(sparkle_folder ${SPARKLE_FRAMEWORK} DIRECTORY)
  set_target_properties(veltrin PROPERTIES
    BUILD_RPATH ${sparkle_folder}
    INSTALL_RPATH @executable_path/../Frameworks)
endif()

# Installing makes the bundle self-contained, checks that it runs on the macOS it
# claims, then signs it from the inside out (cmake/SignBundle.cmake).
find_program(VELTRIN_MACDEPLOYQT macdeployqt HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" REQUIRED)
find_program(VELTRIN_CODESIGN codesign REQUIRED)
install(TARGETS veltrin BUNDLE DESTINATION .)
if(SPARKLE_FRAMEWORK)
  install(DIRECTORY ${SPARKLE_FRAMEWORK} DESTINATION ${VELTRIN_BUNDLE_NAME}.app/Contents/Frameworks
          USE_SOURCE_PERMISSIONS)
endif()
install(CODE "
  include(\"${CMAKE_CURRENT_LIST_DIR}/MacMinimumSystem.cmake\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/SignBundle.cmake\")
  set(bundle \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VELTRIN_BUNDLE_NAME}.app\")
  execute_process(COMMAND \"${VELTRIN_MACDEPLOYQT}\" \"\${bundle}\" -always-overwrite COMMAND_ERROR_IS_FATAL ANY)
  veltrin_check_bundle_minimum(\"\${bundle}\" ${VELTRIN_MACOS_MINIMUM} \"${VELTRIN_OTOOL}\")
  veltrin_sign_bundle(BUNDLE \"\${bundle}\" IDENTITY \"${VELTRIN_CODESIGN_IDENTITY}\"
                      CODESIGN \"${VELTRIN_CODESIGN}\" NESTED ${signed_resources})
")
