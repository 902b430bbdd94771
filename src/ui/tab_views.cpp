#include "ui/tab_views.h"

#include "ui/boot_tab.h"
#include "ui/hardware_tabs.h"
#include "ui/info_tabs.h"

namespace veltrin {

QWidget* makeTabView(AppTab tab, SystemInfoStore& store, const AppLinks& links, Updater* updater)
{
    switch (tab) {
    case AppTab::cpu:
        return new CPUTabView(store);
    case AppTab::caches:
        return new CachesTabView(store);
    case AppTab::mainboard:
        return new MainboardTabView(store, kHideMacOSSerial, kHideSystemUUID);
    case AppTab::memory:
        return new MemoryTabView(store);
    case AppTab::spd:
        return new SPDTabView(store);
    case AppTab::graphics:
        return new GraphicsTabView(store);
    case AppTab::boot:
        return new BootTabView(store);
    case AppTab::bench:
        return new BenchTabView(store);
    case AppTab::about:
        return new AboutTabView(links, updater);
    case AppTab::help:
        return new HelpTabView(updater);
    }
    return nullptr;
}

} // namespace veltrin
