#pragma once

// Which platform's conventions and words the interface follows. What the window
// shows follows the snapshot, as the summary does, so a Mac's capture reads as
// a Mac's wherever it is replayed; the program itself (its menus, its updater,
// the machine its benchmark measures) follows the build.

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

} // namespace veltrin
