#include "ui/updater.h"

namespace veltrin {

#ifndef VELTRIN_HAS_SPARKLE
std::unique_ptr<Updater> makePlatformUpdater() { return nullptr; }
#endif

} // namespace veltrin
