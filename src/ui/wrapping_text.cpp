#include "ui/wrapping_text.h"

#include <QResizeEvent>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <memory>

namespace veltrin {

WrappingText::WrappingText(const QString& text, const QFont& font, const QColor& color, QWidget* parent)
    : QTextEdit(parent)
{
    setReadOnly(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::ClickFocus);
    setFont(font);
    document()->setDocumentMargin(0);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    viewport()->setCursor(Qt::IBeamCursor);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::Base, Qt::transparent);
    setPalette(palette);
    setPlainText(text);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int WrappingText::heightForWidth(int width) const
{
    const std::unique_ptr<QTextDocument> measured(document()->clone());
    measured->setTextWidth(std::max(1, width));
    return int(std::ceil(measured->size().height()));
}

QSize WrappingText::sizeHint() const
{
    const int width = std::max(this->width(), 200);
    return {width, heightForWidth(width)};
}

QSize WrappingText::minimumSizeHint() const { return {0, fontMetrics().height()}; }

void WrappingText::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        updateGeometry(); // a new width, a new height
}

} // namespace veltrin
