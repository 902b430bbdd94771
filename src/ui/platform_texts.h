#pragma once

// The texts that name the system Veltrin reads or runs on. A Mac keeps the
// Mac's own words; any other system gets words that are true there. Texts about
// what the window shows follow the snapshot, as the summary does, so a Mac's
// capture reads as a Mac's wherever it is replayed.

namespace veltrin {

class SystemInfoStore;

enum class Platform { mac, other };

// The platform this program was built for.
constexpr Platform buildPlatform()
{
#ifdef __APPLE__
    return Platform::mac;
#else
    return Platform::other;
#endif
}

// The platform of what the window shows: the published snapshot's; before the
// first refresh has published, when nothing is known yet, the build's.
Platform shownPlatform(const SystemInfoStore& store);

struct PlatformTexts {
    // Of what the window shows (shownPlatform).
    const char* operatingSystem; // the label of the operating system's value
};

const PlatformTexts& platformTexts(Platform platform);

} // namespace veltrin
