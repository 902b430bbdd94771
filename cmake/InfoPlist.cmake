# The Mac bundle's Info.plist, configured from packaging/macos/Info.plist.in. Kept
# apart from the bundle rules so that a test can configure it on any platform.
include_guard(GLOBAL)

set(VELTRIN_INFO_PLIST_TEMPLATE "${CMAKE_CURRENT_LIST_DIR}/../packaging/macos/Info.plist.in")

function(veltrin_xml_escape out text)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# veltrin_configure_info_plist(OUTPUT file EXECUTABLE name ICON file IDENTIFIER id VERSION v
#                              MINIMUM_SYSTEM v COPYRIGHT text [FEED_URL url PUBLIC_KEY key])
# The update keys are written only with a FEED_URL, that is, in a build with Sparkle.
function(veltrin_configure_info_plist)
  set(fields EXECUTABLE ICON IDENTIFIER VERSION MINIMUM_SYSTEM COPYRIGHT FEED_URL PUBLIC_KEY)
  cmake_parse_arguments(PLIST "" "OUTPUT;${fields}" "" ${ARGN})
  foreach(field IN LISTS fields)
    veltrin_xml_escape(PLIST_${field} "${PLIST_${field}}")
  endforeach()
  set(PLIST_UPDATE_KEYS "")
  if(PLIST_FEED_URL)
    string(CONCAT PLIST_UPDATE_KEYS
      "  <key>SUFeedURL</key>\n  <string>${PLIST_FEED_URL}</string>\n"
      "  <key>SUPublicEDKey</key>\n  <string>${PLIST_PUBLIC_KEY}</string>\n")
  endif()
  configure_file(${VELTRIN_INFO_PLIST_TEMPLATE} ${PLIST_OUTPUT} @ONLY)
endfunction()
