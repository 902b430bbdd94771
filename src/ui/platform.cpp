#include "ui/platform.h"

#include "state/system_info_store.h"

namespace veltrin {

Platform shownPlatform(const SystemInfoStore& store)
{
    if (!store.hasPublishedSnapshot())
        return buildPlatform();
    return isMacOS(store.mainboard().os) ? Platform::mac : Platform::other;
}

} // namespace veltrin
