// Stub of Apple's CoreFoundation umbrella header for scripts/check-macos: only
// the types, macro and call that src/ui/components.cpp uses, as in Apple's SDK.
#pragma once

typedef unsigned char Boolean;
typedef const struct __CFString* CFStringRef;
#define CFSTR(cStr) ((CFStringRef)__builtin___CFStringMakeConstantString("" cStr ""))

#ifdef __cplusplus
extern "C" {
#endif
Boolean CFPreferencesGetAppBooleanValue(CFStringRef key, CFStringRef applicationID,
                                        Boolean* keyExistsAndHasValidFormat);
#ifdef __cplusplus
}
#endif
