#pragma once

#include <QLayout>

#include <vector>

namespace veltrin {

// Items side by side at their own width, left to right, starting a new line
// where the next one does not fit; an item wider than the whole line gets the
// line to itself, shortened to it.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(int spacing);
    ~FlowLayout() override;

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
    // Places the items in `area` (only measuring unless `apply`); returns the height used.
    int arrange(const QRect& area, bool apply) const;

    int spacing_;
    std::vector<QLayoutItem*> items_;
};

} // namespace veltrin
