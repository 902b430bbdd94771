# What `cmake --install` puts where the desktop finds it: the program, its desktop
# entry, AppStream metadata, icons, manual page, shell completion, the schema of
# its JSON and licence.
# On a Mac the application bundle is the install (cmake/MacBundle.cmake).

set(VELTRIN_HOMEPAGE_URL "https://example.org/veltrin" CACHE STRING "Project home page named in the metadata and the package")
if(APPLE)
  return()
endif()

include(GNUInstallDirs)
# Distributions name the documentation folder after the package, unless told otherwise.
if(NOT "$CACHE{CMAKE_INSTALL_DOCDIR}")
  set(CMAKE_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/veltrin")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/Icons.cmake)

set(VELTRIN_ICON_SIZES 16 24 32 48 64 128 256 512)
set(icon_pairs)
set(icon_files)
foreach(size IN LISTS VELTRIN_ICON_SIZES)
  set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${VELTRIN_APP_ID}.png)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/icons/${size}x${size})
  list(APPEND icon_pairs ${size} ${png})
  list(APPEND icon_files ${png})
endforeach()
veltrin_render_icons(${icon_pairs})
add_custom_target(veltrin_icons ALL DEPENDS ${icon_files})

# The text files carry the id, the version and the deployment addresses.
set(generated ${CMAKE_BINARY_DIR}/packaging)
configure_file(${VELTRIN_PACKAGING_DIR}/veltrin.desktop.in ${generated}/${VELTRIN_APP_ID}.desktop @ONLY)
configure_file(${VELTRIN_PACKAGING_DIR}/veltrin.metainfo.xml.in ${generated}/${VELTRIN_APP_ID}.metainfo.xml @ONLY)
configure_file(${VELTRIN_PACKAGING_DIR}/veltrin.1.in ${generated}/veltrin.1 @ONLY)

set(data ${CMAKE_INSTALL_DATADIR})
install(TARGETS veltrin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${generated}/${VELTRIN_APP_ID}.desktop DESTINATION ${data}/applications)
install(FILES ${generated}/${VELTRIN_APP_ID}.metainfo.xml DESTINATION ${data}/metainfo)
install(FILES ${VELTRIN_APPLICATION_IMAGE} RENAME ${VELTRIN_APP_ID}.svg DESTINATION ${data}/icons/hicolor/scalable/apps)
foreach(size IN LISTS VELTRIN_ICON_SIZES)
  install(FILES ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${VELTRIN_APP_ID}.png
          DESTINATION ${data}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${generated}/veltrin.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${VELTRIN_PACKAGING_DIR}/snapshot.schema.json DESTINATION ${data}/veltrin)
install(FILES ${VELTRIN_PACKAGING_DIR}/veltrin.bash RENAME veltrin DESTINATION ${data}/bash-completion/completions)
install(FILES ${VELTRIN_PACKAGING_DIR}/veltrin.zsh RENAME _veltrin DESTINATION ${data}/zsh/site-functions)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
