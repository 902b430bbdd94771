# One reverse-DNS id names Veltrin to the desktop: the settings domain, the desktop
# entry, the AppStream metadata, the icon and the Mac bundle identifier.
set(VELTRIN_APP_ID "org.veltrin.Veltrin" CACHE STRING
    "Reverse-DNS application id (lower-case domain, then the application name), e.g. org.example.Veltrin")

# Lower-case domain labels and a final name of letters, digits and underscores: what
# D-Bus names, desktop entries, AppStream and Apple's bundle identifiers all accept.
if(NOT VELTRIN_APP_ID MATCHES "^([a-z][a-z0-9_]*\\.)+[a-z][a-z0-9_]*\\.[A-Za-z][A-Za-z0-9_]*$")
  message(FATAL_ERROR "VELTRIN_APP_ID \"${VELTRIN_APP_ID}\" is not a reverse-DNS id such as org.example.Veltrin")
endif()

# Qt keeps the Mac settings in <reversed organisation domain>.<application name>.plist,
# so splitting the id this way makes that file carry the bundle identifier's name.
string(REGEX MATCH "^(.*)\\.([^.]+)$" _ "${VELTRIN_APP_ID}")
set(VELTRIN_APPLICATION_NAME "${CMAKE_MATCH_2}")
string(REPLACE "." ";" _labels "${CMAKE_MATCH_1}")
list(REVERSE _labels)
list(JOIN _labels "." VELTRIN_ORGANIZATION_DOMAIN)

set(VELTRIN_IDENTITY_DEFINITIONS
  VELTRIN_APP_ID="${VELTRIN_APP_ID}"
  VELTRIN_APPLICATION_NAME="${VELTRIN_APPLICATION_NAME}"
  VELTRIN_ORGANIZATION_DOMAIN="${VELTRIN_ORGANIZATION_DOMAIN}")
