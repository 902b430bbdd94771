#pragma once

#include "ui/item_list_layout.h"

namespace veltrin {

// Cards in rows, left to right and top to bottom, in equal columns: either a
// fixed number of them, or as many as the content needs. Each card keeps the
// height its width needs, aligned to the top of its row.
class CardGridLayout : public ItemListLayout {
public:
    // Columns of at least `minimumColumnWidth`, and wide enough for every card's
    // rows to show their values whole where the width allows; never more columns
    // than cards, and the cards spread evenly over the rows (two rows of two, not
    // three and one), so a wider page never makes cards narrower for nothing.
    static CardGridLayout* adaptive(int minimumColumnWidth, int spacing);
    static CardGridLayout* fixedColumns(int columns, int minimumColumnWidth, int spacing);
    int columnsFor(int width) const;
    // The narrowest column that shows every shown card's rows whole (at least the minimum).
    int neededColumnWidth() const;

    QSize sizeHint() const override;
    QSize minimumSize() const override;

private:
    CardGridLayout(int columns, int minimumColumnWidth, int spacing);
    int arrange(const QRect& area, bool apply) const override;

    int columns_; // 0: as many as fit
    int minimumColumnWidth_;
    int spacing_;
};

} // namespace veltrin
