// Stub of Apple's mach-o/dyld.h for scripts/check-macos: only the call that
// src/platform/live_machine.cpp uses, declared as in Apple's SDK.
#pragma once
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif
int _NSGetExecutablePath(char* buf, uint32_t* bufsize);
#ifdef __cplusplus
}
#endif
