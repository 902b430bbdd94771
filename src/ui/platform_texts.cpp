#include "ui/platform_texts.h"

#include "state/system_info_store.h"

namespace veltrin {
namespace {

constexpr PlatformTexts kMacTexts{
    .operatingSystem = "macOS",
};

// Veltrin's only other platform is Linux.
constexpr PlatformTexts kOtherTexts{
    .operatingSystem = "OS",
};

} // namespace

Platform shownPlatform(const SystemInfoStore& store)
{
    if (!store.hasPublishedSnapshot())
        return buildPlatform();
    return isMacOS(store.mainboard().os) ? Platform::mac : Platform::other;
}

const PlatformTexts& platformTexts(Platform platform) { return platform == Platform::mac ? kMacTexts : kOtherTexts; }

} // namespace veltrin
