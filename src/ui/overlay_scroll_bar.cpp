#include "ui/overlay_scroll_bar.h"

#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>

namespace veltrin {

void styleScrollBar(QScrollBar* bar)
{
    bar->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 12px; margin: 6px 3px 6px 0; }"
        "QScrollBar::handle:vertical { background: rgba(255, 255, 255, 46); border-radius: 4px; min-height: 32px; }"
        "QScrollBar::handle:vertical:hover { background: rgba(255, 255, 255, 72); }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }"));
}

namespace {

// Keeps an overlay scroll bar on the right edge of its scroll area.
class OverlayPlacement : public QObject {
public:
    OverlayPlacement(QScrollArea& area, QScrollBar& bar) : QObject(&bar), area_(area), bar_(bar)
    {
        area.installEventFilter(this);
        place();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &area_ && event->type() == QEvent::Resize)
            place();
        return false;
    }

private:
    void place()
    {
        constexpr int width = 12;
        bar_.setGeometry(area_.width() - width, 0, width, area_.height());
        bar_.raise();
    }

    QScrollArea& area_;
    QScrollBar& bar_;
};

} // namespace

QScrollBar* addOverlayScrollBar(QScrollArea& area)
{
    // The area's own bar stays hidden but keeps the range and the position.
    area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QScrollBar* inner = area.verticalScrollBar();
    auto* bar = new QScrollBar(Qt::Vertical, &area);
    styleScrollBar(bar);
    const auto follow = [inner, bar] {
        bar->setRange(inner->minimum(), inner->maximum());
        bar->setPageStep(inner->pageStep());
        bar->setSingleStep(inner->singleStep());
        bar->setValue(inner->value());
        bar->setVisible(inner->maximum() > inner->minimum());
    };
    QObject::connect(inner, &QScrollBar::rangeChanged, bar, follow);
    QObject::connect(inner, &QScrollBar::valueChanged, bar, &QScrollBar::setValue);
    QObject::connect(bar, &QScrollBar::valueChanged, inner, &QScrollBar::setValue);
    new OverlayPlacement(area, *bar);
    follow();
    return bar;
}

} // namespace veltrin
