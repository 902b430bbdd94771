#pragma once

#include <memory>
#include <string>

namespace veltrin {

// The application's update mechanism: it starts with the application and offers
// a manual check. A build without one has no Updater at all.
class Updater {
public:
    virtual ~Updater() = default;
    // What the About tab's "Updates" row says.
    virtual std::string description() const = 0;
    // Shows the mechanism's own update interface.
    virtual void checkForUpdates() = 0;
};

// The updater this build ships with; null when it has none.
std::unique_ptr<Updater> makePlatformUpdater();

} // namespace veltrin
