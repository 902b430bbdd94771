// Stub of Apple's sys/sysctl.h for scripts/check-macos: only what
// src/platform/live_macos.cpp uses, declared as in Apple's SDK.
#pragma once
#include <stddef.h>
#include <sys/types.h>

#define CTL_MAXNAME 12
#define CTLTYPE 0xf
#define CTLTYPE_INT 2
#define CTLTYPE_QUAD 4

#ifdef __cplusplus
extern "C" {
#endif
int sysctl(int*, u_int, void*, size_t*, void*, size_t);
int sysctlbyname(const char*, void*, size_t*, void*, size_t);
int sysctlnametomib(const char*, int*, size_t*);
#ifdef __cplusplus
}
#endif
