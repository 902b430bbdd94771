# The application image, rendered to PNG at build time so every size follows the artwork.
include_guard(GLOBAL)

set(VELTRIN_PACKAGING_DIR "${PROJECT_SOURCE_DIR}/packaging")
set(VELTRIN_APPLICATION_IMAGE "${PROJECT_SOURCE_DIR}/src/ui/resources/ChipGlass3D.svg")

add_executable(veltrin_render_icon ${VELTRIN_PACKAGING_DIR}/render_icon.cpp)
target_link_libraries(veltrin_render_icon PRIVATE veltrin_ui)

# A build rule for the PNGs named by SIZE FILE pairs; a target in the same folder
# that lists the files as sources or dependencies gets them made.
function(veltrin_render_icons)
  set(pairs ${ARGN})
  set(outputs)
  while(pairs)
    list(POP_FRONT pairs size file)
    list(APPEND outputs ${file})
  endwhile()
  add_custom_command(OUTPUT ${outputs}
    COMMAND $<TARGET_FILE:veltrin_render_icon> ${VELTRIN_APPLICATION_IMAGE} ${ARGN}
    DEPENDS veltrin_render_icon ${VELTRIN_APPLICATION_IMAGE}
    COMMENT "Rendering the application icon"
    VERBATIM)
endfunction()
