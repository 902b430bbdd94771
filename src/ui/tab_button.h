#pragma once

#include "ui/app_tab.h"
#include "ui/theme.h"

#include <QAbstractButton>
#include <QFont>
#include <QRectF>
#include <QString>

namespace veltrin {

class TabButton : public QAbstractButton {
    Q_OBJECT
public:
    TabButton(AppTab tab, QWidget* parent = nullptr);
    AppTab tab() const { return tab_; }
    // Only the selected tab is a stop of the Tab key; the arrow keys move along the bar.
    void setSelected(bool selected);
    bool isSelected() const { return selected_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Where the highlight, the icon and the title go at the button's width: the
    // title keeps inside the highlight, closing the gap to its icon first and
    // shortening itself only when that is not enough.
    struct Layout {
        QRectF plate;
        QRectF icon;
        QRectF title;
        QString text;
        QFont font;
    };
    Layout contentLayout() const;

Q_SIGNALS:
    // An arrow key asks for the tab `step` places along (-1 left, +1 right).
    void stepRequested(int step);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    AppTab tab_;
    bool selected_ = false;
    SoftShadow shadow_;
};

} // namespace veltrin
