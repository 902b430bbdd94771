#include "ui/window_memory.h"

#include <QSettings>
#include <QString>

#include <algorithm>

namespace veltrin {
namespace {

const QString kGeometryKey = QStringLiteral("mainWindow/geometry");
const QString kTabKey = QStringLiteral("mainWindow/tab");

} // namespace

namespace {

// Moves `frame` as little as needed to lie inside `available`, or to its top
// left corner when it is larger.
QRect keptInside(QRect frame, const QRect& available)
{
    frame.moveLeft(std::clamp(frame.left(), available.left(),
                              std::max(available.left(), available.right() - frame.width() + 1)));
    frame.moveTop(std::clamp(frame.top(), available.top(),
                             std::max(available.top(), available.bottom() - frame.height() + 1)));
    return frame;
}

} // namespace

QRect mainWindowPlacement(const std::optional<QRect>& saved, const QRect& available, const QSize& minimum)
{
    const auto fitted = [&](QSize size) { return size.boundedTo(available.size()).expandedTo(minimum); };
    if (!saved || !saved->isValid()) {
        QRect frame(QPoint(0, 0), fitted(kFirstLaunchSize));
        frame.moveCenter(available.center());
        return keptInside(frame, available);
    }
    return keptInside(QRect(saved->topLeft(), fitted(saved->size())), available);
}

RememberedWindow rememberedMainWindow()
{
    const QSettings settings;
    RememberedWindow remembered;
    const QRect geometry = settings.value(kGeometryKey).toRect();
    if (geometry.isValid())
        remembered.geometry = geometry;
    remembered.tab = appTabFromId(settings.value(kTabKey).toString().toStdString());
    return remembered;
}

void rememberMainWindow(const QRect& geometry, AppTab tab)
{
    QSettings settings;
    settings.setValue(kGeometryKey, geometry);
    const std::string_view id = appTabId(tab);
    settings.setValue(kTabKey, QString::fromUtf8(id.data(), qsizetype(id.size())));
}

} // namespace veltrin
