# The Mac bundle's Info.plist parses as a property list and says what the build
# means: the build's own, and one configured with values that need XML escaping.
# Called with -DPLIST=<configured Info.plist> -DWORK=<scratch folder> -DAPP_ID=<id>
# -DVERSION=<project version> -DMINIMUM_SYSTEM=<the build's oldest macOS>, and
# -DFEED_URL=<feed> -DPUBLIC_KEY=<key> as the build embedded them (empty without Sparkle).

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/InfoPlist.cmake)
find_program(PYTHON3 python3 REQUIRED)

# Checks the file against KEY=VALUE pairs (a key absent from the file reads as "<absent>").
function(expect_plist file)
  set(script "import plistlib, sys\nd = plistlib.load(open(sys.argv[1], 'rb'))\n"
             "for k in sys.argv[2:]: print(k + '=' + str(d.get(k, '<absent>')))")
  string(CONCAT script ${script})
  set(keys)
  foreach(pair IN LISTS ARGN)
    string(REGEX REPLACE "=.*" "" key "${pair}")
    list(APPEND keys ${key})
  endforeach()
  execute_process(COMMAND ${PYTHON3} -c "${script}" ${file} ${keys}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REPLACE "\n" ";" found "${out}")
  list(REMOVE_ITEM found "")
  if(NOT status EQUAL 0 OR NOT found STREQUAL ARGN)
    message(FATAL_ERROR "${file}: status ${status}\n${err}\nfound:    ${found}\nexpected: ${ARGN}")
  endif()
  find_program(PLUTIL plutil)
  if(PLUTIL)
    execute_process(COMMAND ${PLUTIL} -lint ${file} COMMAND_ERROR_IS_FATAL ANY OUTPUT_QUIET)
  endif()
endfunction()

expect_plist(${PLIST}
  CFBundleExecutable=Veltrin CFBundleIconFile=Veltrin.icns CFBundleIdentifier=${APP_ID}
  CFBundleShortVersionString=${VERSION} CFBundleVersion=${VERSION} CFBundlePackageType=APPL
  LSMinimumSystemVersion=${MINIMUM_SYSTEM} LSApplicationCategoryType=public.app-category.utilities
  NSHighResolutionCapable=True "NSHumanReadableCopyright=Copyright © 2026 The Veltrin developers")

# Deployment values are free text: an ampersand in a feed address must not break the file.
veltrin_configure_info_plist(OUTPUT ${WORK}/Info.plist EXECUTABLE Veltrin ICON Veltrin.icns
  IDENTIFIER org.example.Veltrin VERSION 2.0 MINIMUM_SYSTEM 12.0 COPYRIGHT "© <Ada & Bob>"
  FEED_URL "https://example.org/feed?os=mac&arch=arm64" PUBLIC_KEY "abc+/=")
expect_plist(${WORK}/Info.plist
  CFBundleIdentifier=org.example.Veltrin CFBundleVersion=2.0 LSMinimumSystemVersion=12.0
  "NSHumanReadableCopyright=© <Ada & Bob>" "SUFeedURL=https://example.org/feed?os=mac&arch=arm64"
  SUPublicEDKey=abc+/=)
# The update keys are there exactly when the build found Sparkle and was given a feed.
if(FEED_URL)
  expect_plist(${PLIST} "SUFeedURL=${FEED_URL}" "SUPublicEDKey=${PUBLIC_KEY}")
else()
  expect_plist(${PLIST} SUFeedURL=<absent> SUPublicEDKey=<absent>)
endif()
file(REMOVE_RECURSE ${WORK})
