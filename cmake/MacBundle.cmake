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

set(minimum_system "${CMAKE_OSX_DEPLOYMENT_TARGET}")
if(NOT minimum_system)
  set(minimum_system 11.0)
endif()
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE copyright REGEX "^Copyright " LIMIT_COUNT 1)
string(REPLACE "(c)" "©" copyright "${copyright}")
set(update_keys)
if(APPLE AND SPARKLE_FRAMEWORK)
  set(update_keys FEED_URL "${VELTRIN_SPARKLE_FEED_URL}" PUBLIC_KEY "${VELTRIN_SPARKLE_PUBLIC_KEY}")
  if(NOT VELTRIN_SPARKLE_PUBLIC_KEY)
    message(WARNING "Sparkle is found but VELTRIN_SPARKLE_PUBLIC_KEY is empty: Sparkle will refuse every update")
  endif()
endif()
veltrin_configure_info_plist(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/Info.plist
  EXECUTABLE ${VELTRIN_BUNDLE_NAME} ICON ${VELTRIN_BUNDLE_NAME}.icns IDENTIFIER ${VELTRIN_APP_ID}
  VERSION ${PROJECT_VERSION} MINIMUM_SYSTEM ${minimum_system} COPYRIGHT "${copyright}" ${update_keys})

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

# Installing makes the bundle self-contained, then signs it: nested code first
# (dmidecode), the bundle last, so that its seal covers everything inside.
find_program(VELTRIN_MACDEPLOYQT macdeployqt HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" REQUIRED)
find_program(VELTRIN_CODESIGN codesign REQUIRED)
install(TARGETS veltrin BUNDLE DESTINATION .)
if(SPARKLE_FRAMEWORK)
  install(DIRECTORY ${SPARKLE_FRAMEWORK} DESTINATION ${VELTRIN_BUNDLE_NAME}.app/Contents/Frameworks
          USE_SOURCE_PERMISSIONS)
endif()
install(CODE "
  set(bundle \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VELTRIN_BUNDLE_NAME}.app\")
  execute_process(COMMAND \"${VELTRIN_MACDEPLOYQT}\" \"\${bundle}\" -always-overwrite COMMAND_ERROR_IS_FATAL ANY)
  foreach(resource ${signed_resources})
    execute_process(COMMAND \"${VELTRIN_CODESIGN}\" --force --sign \"${VELTRIN_CODESIGN_IDENTITY}\"
                            \"\${bundle}/\${resource}\" COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  execute_process(COMMAND \"${VELTRIN_CODESIGN}\" --force --deep --sign \"${VELTRIN_CODESIGN_IDENTITY}\"
                          \"\${bundle}\" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND \"${VELTRIN_CODESIGN}\" --verify --deep --strict \"\${bundle}\" COMMAND_ERROR_IS_FATAL ANY)
")
