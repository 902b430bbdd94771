#include "ui/tab_views.h"

#include "ui/components.h"
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
    return new TitlePage(tab, store);
}

} // namespace veltrin
