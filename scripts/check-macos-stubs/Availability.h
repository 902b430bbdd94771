// Stub of Apple's Availability.h for scripts/check-macos: only the version
// macros that the Qt headers test. The deployment target comes from the compiler
// (-target …-macos11); the SDK is taken to be a current one (macOS 15).
#pragma once
#define __MAC_10_6 1060
#define __MAC_11_0 110000
#define __MAC_15_0 150000
#define __MAC_NA 9999
#define __IPHONE_NA 99999
#define __TVOS_NA 99999
#define __WATCHOS_NA 99999
#define __MAC_OS_X_VERSION_MIN_REQUIRED __ENVIRONMENT_MAC_OS_X_VERSION_MIN_REQUIRED__
#define __MAC_OS_X_VERSION_MAX_ALLOWED __MAC_15_0
