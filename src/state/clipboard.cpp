#include "state/clipboard.h"

#include "state/system_info_store.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace veltrin {

void copySummaryToClipboard(const SystemInfoStore& store)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return;
    clipboard->clear();
    clipboard->setText(QString::fromStdString(store.summaryText()));
}

} // namespace veltrin
