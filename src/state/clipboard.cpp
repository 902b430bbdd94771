#include "state/clipboard.h"

#include "state/system_info_store.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace veltrin {

void copyTextToClipboard(const std::string& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return;
    clipboard->clear();
    clipboard->setText(QString::fromStdString(text));
}

void copySummaryToClipboard(const SystemInfoStore& store) { copyTextToClipboard(store.summaryText()); }

} // namespace veltrin
