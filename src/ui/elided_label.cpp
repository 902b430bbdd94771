#include "ui/elided_label.h"

#include "ui/labels.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>

namespace veltrin {

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    makeSelectable(this);
    setFullText(text);
}

void ElidedLabel::setFullText(const QString& text)
{
    fullText_ = text;
    elide();
    updateGeometry();
}

QString ElidedLabel::copiedText() const
{
    if (!isElided() && hasSelectedText())
        return selectedText();
    return fullText_;
}

QMenu* ElidedLabel::makeContextMenu()
{
    auto* menu = new QMenu(this);
    connect(menu->addAction(tr("Copy")), &QAction::triggered, this,
            [this] { QGuiApplication::clipboard()->setText(copiedText()); });
    connect(menu->addAction(tr("Select All")), &QAction::triggered, this,
            [this] { setSelection(0, int(text().size())); });
    return menu;
}

QSize ElidedLabel::sizeHint() const
{
    return {fontMetrics().horizontalAdvance(fullText_) + 1, fontMetrics().height()};
}

QSize ElidedLabel::minimumSizeHint() const { return {0, fontMetrics().height()}; }

void ElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy) && textInteractionFlags() != Qt::NoTextInteraction) {
        QGuiApplication::clipboard()->setText(copiedText());
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ElidedLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    // X11 puts every selection on its own clipboard: there too, the full value.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (isElided() && hasSelectedText() && clipboard->supportsSelection())
        clipboard->setText(fullText_, QClipboard::Selection);
}

void ElidedLabel::contextMenuEvent(QContextMenuEvent* event)
{
    if (textInteractionFlags() == Qt::NoTextInteraction) {
        QLabel::contextMenuEvent(event);
        return;
    }
    QMenu* menu = makeContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

void ElidedLabel::elide()
{
    const QString shown = fontMetrics().elidedText(fullText_, Qt::ElideMiddle, std::max(0, contentsRect().width()));
    if (shown != text())
        QLabel::setText(shown);
    setToolTip(shown == fullText_ ? QString() : fullText_);
}

} // namespace veltrin
