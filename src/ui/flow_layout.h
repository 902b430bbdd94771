#pragma once

#include "ui/item_list_layout.h"

namespace veltrin {

// Items side by side at their own width, left to right, starting a new line
// where the next one does not fit; an item wider than the whole line gets the
// line to itself, shortened to it.
class FlowLayout : public ItemListLayout {
public:
    explicit FlowLayout(int spacing);
    QSize sizeHint() const override;
    QSize minimumSize() const override;

private:
    int arrange(const QRect& area, bool apply) const override;

    int spacing_;
};

} // namespace veltrin
