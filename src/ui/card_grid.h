#pragma once

#include <QLayout>

#include <vector>

namespace veltrin {

// Cards in rows, left to right and top to bottom, in equal columns: either a
// fixed number of them, or as many as the content needs. Each card keeps the
// height its width needs, aligned to the top of its row.
class CardGridLayout : public QLayout {
public:
    // Columns of at least `minimumColumnWidth`, and wide enough for every card's
    // rows to show their values whole where the width allows; never more columns
    // than cards, and the cards spread evenly over the rows (two rows of two, not
    // three and one), so a wider page never makes cards narrower for nothing.
    static CardGridLayout* adaptive(int minimumColumnWidth, int spacing);
    static CardGridLayout* fixedColumns(int columns, int minimumColumnWidth, int spacing);
    ~CardGridLayout() override;

    int columnsFor(int width) const;
    // The narrowest column that shows every shown card's rows whole (at least the minimum).
    int neededColumnWidth() const;

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(items_.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    Qt::Orientations expandingDirections() const override { return {}; }
    void setGeometry(const QRect& rect) override;

private:
    CardGridLayout(int columns, int minimumColumnWidth, int spacing);
    std::vector<QLayoutItem*> shownItems() const;
    // Lays the cards out in `area` (only measuring unless `apply`); returns the height used.
    int arrange(const QRect& area, bool apply) const;

    int columns_; // 0: as many as fit
    int minimumColumnWidth_;
    int spacing_;
    std::vector<QLayoutItem*> items_;
};

} // namespace veltrin
