#include "ui/item_list_layout.h"

#include <algorithm>
#include <iterator>

namespace veltrin {

ItemListLayout::~ItemListLayout()
{
    for (QLayoutItem* item : items_)
        delete item;
}

void ItemListLayout::addItem(QLayoutItem* item) { items_.push_back(item); }

QLayoutItem* ItemListLayout::itemAt(int index) const
{
    return index >= 0 && index < count() ? items_[std::size_t(index)] : nullptr;
}

QLayoutItem* ItemListLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem* item = items_[std::size_t(index)];
    items_.erase(items_.begin() + index);
    return item;
}

void ItemListLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

std::vector<QLayoutItem*> ItemListLayout::shownItems() const
{
    std::vector<QLayoutItem*> shown;
    std::ranges::copy_if(items_, std::back_inserter(shown), [](QLayoutItem* item) { return !item->isEmpty(); });
    return shown;
}

} // namespace veltrin
