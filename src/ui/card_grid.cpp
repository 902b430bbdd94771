#include "ui/card_grid.h"

#include "ui/glass_card.h"

#include <QWidget>

#include <algorithm>

namespace veltrin {

CardGridLayout* CardGridLayout::adaptive(int minimumColumnWidth, int spacing)
{
    return new CardGridLayout(0, minimumColumnWidth, spacing);
}

CardGridLayout* CardGridLayout::fixedColumns(int columns, int minimumColumnWidth, int spacing)
{
    return new CardGridLayout(std::max(1, columns), minimumColumnWidth, spacing);
}

CardGridLayout::CardGridLayout(int columns, int minimumColumnWidth, int spacing)
    : columns_(columns), minimumColumnWidth_(minimumColumnWidth), spacing_(spacing)
{
}

int CardGridLayout::neededColumnWidth() const
{
    int needed = minimumColumnWidth_;
    for (QLayoutItem* item : shownItems())
        if (const auto* card = qobject_cast<const GlassCard*>(item->widget()))
            needed = std::max(needed, card->unshortenedWidth());
    return needed;
}

int CardGridLayout::columnsFor(int width) const
{
    if (columns_ > 0)
        return columns_;
    const int cards = std::max<int>(1, int(shownItems().size()));
    const int fitting = std::clamp((width + spacing_) / (neededColumnWidth() + spacing_), 1, cards);
    const int rows = (cards + fitting - 1) / fitting;
    return (cards + rows - 1) / rows;
}

// As narrow as the fewest columns allow, and only as tall as the tallest card:
// the real height follows the width through heightForWidth. Claiming the height
// of the narrowest arrangement would keep that height at every width, and a
// page would scroll into empty space below its cards.
QSize CardGridLayout::minimumSize() const
{
    const int columns = columns_ > 0 ? columns_ : 1;
    const int width = columns * minimumColumnWidth_ + (columns - 1) * spacing_;
    int tallest = 0;
    for (QLayoutItem* item : items_)
        if (!item->isEmpty())
            tallest = std::max(tallest, item->minimumSize().height());
    return {width, tallest};
}

QSize CardGridLayout::sizeHint() const { return minimumSize(); }

int CardGridLayout::arrange(const QRect& area, bool apply) const
{
    const std::vector<QLayoutItem*> shown = shownItems();
    if (shown.empty())
        return 0;
    const int columns = columnsFor(area.width());
    const int columnWidth = std::max(0, (area.width() - (columns - 1) * spacing_) / columns);
    const auto heightOf = [&](QLayoutItem* item) {
        return item->hasHeightForWidth() ? item->heightForWidth(columnWidth) : item->sizeHint().height();
    };

    int top = area.top();
    for (std::size_t first = 0; first < shown.size(); first += std::size_t(columns)) {
        const std::size_t end = std::min(shown.size(), first + std::size_t(columns));
        int rowHeight = 0;
        for (std::size_t index = first; index < end; ++index) {
            const int height = heightOf(shown[index]);
            rowHeight = std::max(rowHeight, height);
            if (apply) {
                const int left = area.left() + int(index - first) * (columnWidth + spacing_);
                shown[index]->setGeometry(QRect(left, top, columnWidth, height));
            }
        }
        top += rowHeight + spacing_;
    }
    return top - spacing_ - area.top();
}

} // namespace veltrin
