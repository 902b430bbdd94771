#pragma once

#include <QLayout>

#include <vector>

namespace veltrin {

// Cards in rows, left to right and top to bottom, in equal columns: either as many
// columns of at least a given width as fit, or a fixed number of them. Each card
// keeps the height its width needs, aligned to the top of its row.
class CardGridLayout : public QLayout {
public:
    static CardGridLayout* adaptive(int minimumColumnWidth, int spacing);
    static CardGridLayout* fixedColumns(int columns, int minimumColumnWidth, int spacing);
    ~CardGridLayout() override;

    int columnsFor(int width) const;

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
    // Lays the cards out in `area` (only measuring unless `apply`); returns the height used.
    int arrange(const QRect& area, bool apply) const;

    int columns_; // 0: as many as fit
    int minimumColumnWidth_;
    int spacing_;
    std::vector<QLayoutItem*> items_;
};

} // namespace veltrin
