#include "ui/pill.h"

#include "state/clipboard.h"
#include "ui/theme.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace veltrin {

namespace {
QFont pillFont() { return Fonts::system(Fonts::kCaption, QFont::DemiBold); }

// Whole pixels that hold the whole text: eliding measures the fractional width,
// which a rounded advance can fall short of by a pixel.
int pillTextWidth(const QString& text)
{
    return static_cast<int>(std::ceil(QFontMetricsF(pillFont()).horizontalAdvance(text)));
}
} // namespace

Pill::Pill(const QString& text, QWidget* parent) : QWidget(parent), text_(text)
{
    setFont(pillFont());
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}

QSize Pill::sizeHint() const
{
    return {pillTextWidth(text_) + 2 * 10, QFontMetrics(pillFont()).height() + 2 * 6};
}

QSize Pill::minimumSizeHint() const
{
    const QFontMetrics metrics(pillFont());
    return {std::min(sizeHint().width(), metrics.horizontalAdvance(QStringLiteral("M\u2026")) + 2 * 10),
            sizeHint().height()};
}

void Pill::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = bounds.height() / 2;
    painter.setPen(QPen(Palette::white(0.12), 1));
    painter.setBrush(Palette::white(0.08));
    painter.drawRoundedRect(bounds, radius, radius);
    painter.setPen(Palette::metalText());
    painter.setFont(pillFont());
    painter.drawText(rect(), Qt::AlignCenter, shownText());
}

QString Pill::shownText() const
{
    const int room = std::max(0, width() - 2 * 10);
    return room >= pillTextWidth(text_) ? text_ : QFontMetrics(pillFont()).elidedText(text_, Qt::ElideRight, room);
}

void Pill::setCopyable(bool copyable)
{
    copyable_ = copyable;
    setCursor(copyable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    updateToolTip();
}

void Pill::mouseReleaseEvent(QMouseEvent* event)
{
    if (copyable_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        copyTextToClipboard(text_.toStdString());
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void Pill::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    updateToolTip();
}

void Pill::updateToolTip()
{
    const QString whole = shownText() == text_ ? QString() : text_;
    if (!copyable_)
        setToolTip(whole);
    else
        setToolTip(whole.isEmpty() ? QStringLiteral("Click to copy") : whole + QStringLiteral("\nClick to copy"));
}

} // namespace veltrin
