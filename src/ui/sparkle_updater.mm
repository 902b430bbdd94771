// Sparkle, loaded from the application's own frameworks folder, checks the feed
// configured in the bundle; the controller starts the updater at once.

#include "ui/updater.h"

#import <Sparkle/Sparkle.h>

namespace veltrin {
namespace {

class SparkleUpdater : public Updater {
public:
    SparkleUpdater()
        : controller_([[SPUStandardUpdaterController alloc] initWithStartingUpdater:YES
                                                                    updaterDelegate:nil
                                                                 userDriverDelegate:nil])
    {
    }
    std::string description() const override { return "Sparkle enabled"; }
    void checkForUpdates() override { [controller_ checkForUpdates:nil]; }

private:
    SPUStandardUpdaterController* controller_; // kept for the application's lifetime
};

} // namespace

std::unique_ptr<Updater> makePlatformUpdater() { return std::make_unique<SparkleUpdater>(); }

} // namespace veltrin
