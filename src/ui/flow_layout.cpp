#include "ui/flow_layout.h"

#include <algorithm>

namespace veltrin {

FlowLayout::FlowLayout(int spacing) : spacing_(spacing) { setContentsMargins(0, 0, 0, 0); }

FlowLayout::~FlowLayout()
{
    for (QLayoutItem* item : items_)
        delete item;
}

void FlowLayout::addItem(QLayoutItem* item) { items_.push_back(item); }

QLayoutItem* FlowLayout::itemAt(int index) const
{
    return index >= 0 && index < count() ? items_[std::size_t(index)] : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem* item = items_[std::size_t(index)];
    items_.erase(items_.begin() + index);
    return item;
}

// All on one line where there is room; squeezed, each item on a line of its own.
QSize FlowLayout::sizeHint() const
{
    QSize size(0, 0);
    for (const QLayoutItem* item : items_) {
        if (item->isEmpty())
            continue;
        size.rwidth() += (size.width() > 0 ? spacing_ : 0) + item->sizeHint().width();
        size.rheight() = std::max(size.height(), item->sizeHint().height());
    }
    return size;
}

QSize FlowLayout::minimumSize() const
{
    QSize size(0, 0);
    for (const QLayoutItem* item : items_)
        if (!item->isEmpty())
            size = size.expandedTo(item->minimumSize());
    return size;
}

int FlowLayout::heightForWidth(int width) const { return arrange(QRect(0, 0, width, 0), false); }

void FlowLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowLayout::arrange(const QRect& area, bool apply) const
{
    int x = area.x();
    int y = area.y();
    int lineHeight = 0;
    for (QLayoutItem* item : items_) {
        if (item->isEmpty())
            continue;
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
