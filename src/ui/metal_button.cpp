#include "ui/metal_button.h"

#include "ui/focus_ring.h"
#include "ui/icons.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace veltrin {

MetalButtonStyle::Look MetalButtonStyle::look(bool pressed) const
{
    const QColor& accent = Palette::accentBlue();
    return {
        .fill = prominent ? Palette::withOpacity(accent, 0.34) : Palette::white(0.075),
        .highlightOpacity = pressed ? 0.08 : 0.18,
        .outline = prominent ? Palette::withOpacity(accent, 0.9) : Palette::white(0.14),
        .shadow = prominent ? Palette::withOpacity(accent, 0.22) : Palette::black(0.28),
        .scale = pressed ? 0.985 : 1.0,
    };
}

// Leaves the painter scaled about the face's centre, so the caller's label
// shrinks with the face.
void MetalButtonStyle::paint(QPainter& painter, const QRectF& face, bool pressed, SoftShadow& shadow) const
{
    const Look current = look(pressed);
    const QPointF centre = face.center();
    painter.translate(centre);
    painter.scale(current.scale, current.scale);
    painter.translate(-centre);

    constexpr qreal radius = 10;
    shadow.paint(painter, face, radius, 9, QPointF(0, 5), current.shadow);
    QPainterPath shape;
    shape.addRoundedRect(face, radius, radius);
    painter.fillPath(shape, current.fill);
    QLinearGradient highlight(face.topLeft(), face.bottomLeft());
    highlight.setColorAt(0, Palette::white(current.highlightOpacity));
    highlight.setColorAt(1, Palette::black(0.2));
    painter.fillPath(shape, highlight);
    painter.setPen(QPen(current.outline, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(face.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

namespace {

constexpr int kButtonIconSize = 15;
constexpr int kButtonIconGap = 7;

QFont buttonFont() { return Fonts::system(13, QFont::DemiBold); }
QFont buttonSecondaryFont() { return Fonts::system(Fonts::kCaption, QFont::Medium); }

} // namespace

MetalButton::MetalButton(const QString& text, const QString& symbol, MetalButtonStyle style, QWidget* parent)
    : QAbstractButton(parent), style_(style), symbol_(symbol)
{
    setText(text);
    setFont(buttonFont());
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Reached with the Tab key, as on the Mac; a click does not leave a focus ring behind.
    setFocusPolicy(Qt::TabFocus);
    setObjectName(text);
}

void MetalButton::setSymbol(const QString& symbol)
{
    symbol_ = symbol;
    update();
}

void MetalButton::setSecondaryText(const QString& text)
{
    secondaryText_ = text;
    updateGeometry();
    update();
}

QSize MetalButton::sizeHint() const
{
    const QFontMetrics primary(buttonFont());
    const QFontMetrics secondary(buttonSecondaryFont());
    int textWidth = primary.horizontalAdvance(text());
    int textHeight = primary.height();
    if (!secondaryText_.isEmpty()) {
        textWidth = std::max(textWidth, secondary.horizontalAdvance(secondaryText_));
        textHeight += secondary.height();
    }
    const int iconWidth = symbol_.isEmpty() ? 0 : kButtonIconSize + (text().isEmpty() ? 0 : kButtonIconGap);
    const QSize face(iconWidth + textWidth + 2 * 14, std::max(34, textHeight + 12));
    return face.grownBy(room_);
}

QRectF MetalButton::faceRect() const { return QRectF(rect().marginsRemoved(room_)); }

void MetalButton::setFlushLeft(bool flush)
{
    room_.setLeft(flush ? 0 : kButtonShadowRoom.left());
    updateGeometry();
    update();
}

void MetalButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF face = faceRect();
    style_.paint(painter, face, isDown(), shadow_);
    if (showsFocusRing(*this))
        paintFocusRing(painter, face, 10);

    const QFontMetricsF primary(buttonFont());
    const QFontMetricsF secondary(buttonSecondaryFont());
    qreal textWidth = primary.horizontalAdvance(text());
    if (!secondaryText_.isEmpty())
        textWidth = std::max(textWidth, secondary.horizontalAdvance(secondaryText_));
    const qreal iconWidth = symbol_.isEmpty() ? 0 : kButtonIconSize + (text().isEmpty() ? 0 : kButtonIconGap);
    qreal x = face.center().x() - (iconWidth + textWidth) / 2;

    if (!symbol_.isEmpty()) {
        const QPixmap icon = symbolPixmap(symbol_, kButtonIconSize, Palette::metalText(), devicePixelRatioF());
        painter.drawPixmap(QPointF(x, face.center().y() - kButtonIconSize / 2.0), icon);
        x += iconWidth;
    }
    const qreal textHeight = primary.height() + (secondaryText_.isEmpty() ? 0 : secondary.height());
    const qreal top = face.center().y() - textHeight / 2;
    painter.setFont(buttonFont());
    painter.setPen(Palette::metalText());
    painter.drawText(QRectF(x, top, textWidth, primary.height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    if (!secondaryText_.isEmpty()) {
        painter.setFont(buttonSecondaryFont());
        painter.setPen(Palette::white(0.72));
        painter.drawText(QRectF(x, top + primary.height(), textWidth, secondary.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, secondaryText_);
    }
}

} // namespace veltrin
