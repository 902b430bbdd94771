#include "ui/tab_views.h"

#include "ui/components.h"
#include "ui/hardware_tabs.h"
#include "ui/tab_page.h"

#include <QVBoxLayout>

namespace veltrin {
namespace {

class TitlePage : public TabPageView {
public:
    TitlePage(AppTab tab, SystemInfoStore& store) : TabPageView(&store), tab_(tab) { rebuild(); }

protected:
    void build(QVBoxLayout& column) override
    {
        const std::string_view title = appTabTitle(tab_);
        column.addWidget(new SectionHeader(QString::fromUtf8(title.data(), qsizetype(title.size())), {}));
    }

private:
    AppTab tab_;
};

} // namespace

QWidget* makeTabView(AppTab tab, SystemInfoStore& store, const AppLinks&, Updater*)
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
    default:
        return new TitlePage(tab, store);
    }
}

} // namespace veltrin
