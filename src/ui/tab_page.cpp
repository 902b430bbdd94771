#include "ui/tab_page.h"

#include "state/system_info_store.h"
#include "ui/glass_card.h"

#include <QApplication>
#include <QPainter>
#include <QVBoxLayout>

namespace veltrin {

PublicationWatcher::PublicationWatcher(SystemInfoStore& store, QObject* owner, std::function<void()> render)
    : QObject(owner), render_(std::move(render))
{
    connect(&store, &SystemInfoStore::willChange, this, [this] {
        if (pending_)
            return;
        pending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                pending_ = false;
                render_();
            },
            Qt::QueuedConnection);
    });
}

TabPageView::TabPageView(SystemInfoStore* store, QWidget* parent)
    : QWidget(parent), store_(store), frame_(new QVBoxLayout(this))
{
    frame_->setContentsMargins(0, 0, 0, 0);
    if (store_ != nullptr)
        new PublicationWatcher(*store_, this, [this] { rebuild(); });
}

void TabPageView::rebuild()
{
    // A control that had the keyboard focus gets it back in the new content:
    // a benchmark's progress rebuilds the page every round.
    QWidget* focused = QApplication::focusWidget();
    const QString focusedName =
        content_ != nullptr && focused != nullptr && content_->isAncestorOf(focused) ? focused->objectName() : QString();
    if (!focusedName.isEmpty())
        setFocus(Qt::OtherFocusReason); // somewhere to keep it while the old content goes

    // Runs from the event loop (or a constructor), never inside a handler of the
    // content it replaces, so deleting at once is safe.
    delete content_;
    content_ = new QWidget(this);
    auto* column = new QVBoxLayout(content_);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(16);
    build(*column);
    column->addStretch(1);
    frame_->addWidget(content_);
    if (!focusedName.isEmpty()) {
        if (QWidget* again = content_->findChild<QWidget*>(focusedName))
            again->setFocus(Qt::OtherFocusReason);
    }
}

void TabPageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintCardShadows(painter, this, shadow_);
}

} // namespace veltrin
