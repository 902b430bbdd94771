#include "ui/flow_layout.h"

#include <algorithm>

namespace veltrin {

FlowLayout::FlowLayout(int spacing) : spacing_(spacing) {}

// All on one line where there is room; squeezed, each item on a line of its own.
QSize FlowLayout::sizeHint() const
{
    QSize size(0, 0);
    for (const QLayoutItem* item : shownItems()) {
        size.rwidth() += (size.width() > 0 ? spacing_ : 0) + item->sizeHint().width();
        size.rheight() = std::max(size.height(), item->sizeHint().height());
    }
    return size;
}

QSize FlowLayout::minimumSize() const
{
    QSize size(0, 0);
    for (const QLayoutItem* item : shownItems())
        size = size.expandedTo(item->minimumSize());
    return size;
}

int FlowLayout::arrange(const QRect& area, bool apply) const
{
    int x = area.x();
    int y = area.y();
    int lineHeight = 0;
    for (QLayoutItem* item : shownItems()) {
        const QSize hint = item->sizeHint();
        const int width = std::min(hint.width(), area.width());
        if (x > area.x() && x + width > area.x() + area.width()) {
            x = area.x();
            y += lineHeight + spacing_;
            lineHeight = 0;
        }
        if (apply)
            item->setGeometry(QRect(QPoint(x, y), QSize(width, hint.height())));
        x += width + spacing_;
        lineHeight = std::max(lineHeight, hint.height());
    }
    return y + lineHeight - area.y();
}

} // namespace veltrin
