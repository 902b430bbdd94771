#pragma once

#include <QLayout>

#include <vector>

namespace veltrin {

// A layout that keeps its items in one list, in the order added, and owns them,
// and whose height follows its width; subclasses only arrange the items.
class ItemListLayout : public QLayout {
public:
    ~ItemListLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(items_.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return arrange(QRect(0, 0, width, 0), false); }
    Qt::Orientations expandingDirections() const override { return {}; }
    void setGeometry(const QRect& rect) override;

protected:
    ItemListLayout() { setContentsMargins(0, 0, 0, 0); }
    // Lays the items out in `area` (only measuring unless `apply`); returns the height used.
    virtual int arrange(const QRect& area, bool apply) const = 0;
    // The items whose widgets are not hidden.
    std::vector<QLayoutItem*> shownItems() const;

    std::vector<QLayoutItem*> items_;
};

} // namespace veltrin
