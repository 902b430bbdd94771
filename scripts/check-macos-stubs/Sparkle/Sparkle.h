// Stub of Sparkle's umbrella header for scripts/check-macos: only the updater
// controller that src/ui/sparkle_updater.mm uses, as Sparkle 2 declares it, and
// the few Objective-C basics (normally from Foundation) that declaration needs.
#pragma once

#if defined(__arm64__)
typedef bool BOOL;
#else
typedef signed char BOOL;
#endif
#define YES __objc_yes
#define NO __objc_no
#define nil nullptr

__attribute__((objc_root_class))
@interface NSObject
+ (instancetype)alloc;
@end

@protocol SPUUpdaterDelegate;
@protocol SPUStandardUserDriverDelegate;

@interface SPUStandardUpdaterController : NSObject
- (instancetype)initWithStartingUpdater:(BOOL)startUpdater
                        updaterDelegate:(nullable id<SPUUpdaterDelegate>)updaterDelegate
                     userDriverDelegate:(nullable id<SPUStandardUserDriverDelegate>)userDriverDelegate;
- (void)checkForUpdates:(nullable id)sender;
@end
