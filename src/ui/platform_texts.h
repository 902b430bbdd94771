#pragma once

// The texts that name the system Veltrin reads or runs on: a Mac keeps the
// Mac's own words, any other system gets words that are true there.

#include "ui/platform.h"

namespace veltrin {

struct PlatformTexts {
    // Of what the window shows (shownPlatform).
    const char* operatingSystem; // the label of the operating system's value
    const char* cachesSubtitle;
    const char* cachesNote;
    const char* smbiosTitle;
    const char* spdSubtitle;
    const char* graphicsSubtitle;
    const char* bootSubtitle;

    // Of the program (buildPlatform).
    const char* aboutSubtitle;
    const char* aboutDescription;
    const char* backend;
    const char* privacyAccess; // what the program must do to read the hardware
    const char* benchPower; // how the scoring notes advise on power
    const char* helpOverview;
    const char* helpNotes;
    // Why "Check for Updates…" cannot work in a build without an updater.
    const char* noUpdater;
};

const PlatformTexts& platformTexts(Platform platform);

} // namespace veltrin
