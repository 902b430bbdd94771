#include "ui/tab_button.h"

#include "ui/focus_ring.h"
#include "ui/icons.h"
#include "ui/labels.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace veltrin {

namespace {
constexpr int kTabIconSize = 18;
constexpr int kTabIconGap = 9;
QFont tabFont(bool selected) { return Fonts::system(14, selected ? QFont::DemiBold : QFont::Medium); }
} // namespace

TabButton::TabButton(AppTab tab, QWidget* parent) : QAbstractButton(parent), tab_(tab)
{
    setText(fromUtf8(appTabTitle(tab)));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void TabButton::setSelected(bool selected)
{
    selected_ = selected;
    setFocusPolicy(selected ? Qt::TabFocus : Qt::NoFocus);
    update();
}

void TabButton::keyPressEvent(QKeyEvent* event)
{
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        const int step = event->key() == Qt::Key_Right ? 1 : -1;
        Q_EMIT stepRequested(rightToLeft ? -step : step);
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

TabButton::Layout TabButton::contentLayout() const
{
    constexpr qreal innerPadding = 6;
    constexpr qreal narrowestGap = 4;
    constexpr int smallestFont = 12;
    Layout layout;
    layout.plate = QRectF(rect()).adjusted(2, 4, -2, -4);
    const qreal room = std::max<qreal>(0, layout.plate.width() - 2 * innerPadding);
    layout.text = text();
    // A narrow bar first closes the gap to the icon, then takes a point or two
    // off the title, and only then shortens it.
    layout.font = tabFont(selected_);
    qreal titleWidth = QFontMetricsF(layout.font).horizontalAdvance(layout.text);
    while (kTabIconSize + narrowestGap + titleWidth > room && layout.font.pixelSize() > smallestFont) {
        layout.font.setPixelSize(layout.font.pixelSize() - 1);
        titleWidth = QFontMetricsF(layout.font).horizontalAdvance(layout.text);
    }
    const QFontMetricsF metrics(layout.font);
    const qreal gap = std::clamp(room - kTabIconSize - titleWidth, narrowestGap, qreal(kTabIconGap));
    if (kTabIconSize + gap + titleWidth > room) {
        layout.text = metrics.elidedText(text(), Qt::ElideRight, std::max<qreal>(0, room - kTabIconSize - gap));
        titleWidth = metrics.horizontalAdvance(layout.text);
    }
    const qreal left = (width() - (kTabIconSize + gap + titleWidth)) / 2;
    layout.icon = QRectF(left, (height() - kTabIconSize) / 2.0, kTabIconSize, kTabIconSize);
    layout.title = QRectF(left + kTabIconSize + gap, 0, titleWidth + 1, height());
    return layout;
}

QSize TabButton::sizeHint() const
{
    const QFontMetrics metrics(tabFont(true));
    return {kTabIconSize + kTabIconGap + metrics.horizontalAdvance(text()) + 8, 48};
}

// Every tab is as wide as the next, whatever its title.
QSize TabButton::minimumSizeHint() const { return {kTabIconSize + 8, 48}; }

void TabButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const Layout layout = contentLayout();
    constexpr qreal radius = 8;
    if (selected_) {
        const QRectF& plate = layout.plate;
        const QColor& accent = Palette::accentBlue();
        shadow_.paint(painter, plate, radius, 10, QPointF(0, 4), Palette::withOpacity(accent, 0.22));
        QPainterPath shape;
        shape.addRoundedRect(plate, radius, radius);
        painter.fillPath(shape, Palette::withOpacity(accent, 0.2));
        QLinearGradient sheen(plate.topLeft(), plate.bottomLeft());
        sheen.setColorAt(0, Palette::white(0.18));
        sheen.setColorAt(1, Palette::withOpacity(accent, 0.1));
        painter.fillPath(shape, sheen);
        painter.setPen(QPen(Palette::withOpacity(accent, 0.52), 1));
        painter.drawRoundedRect(plate.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    }

    if (showsFocusRing(*this))
        paintFocusRing(painter, layout.plate, radius);

    const QColor color = selected_ ? Palette::selectedTabText() : Palette::metalMuted();
    const QPixmap icon = symbolPixmap(fromUtf8(appTabSymbol(tab_)), kTabIconSize, color, devicePixelRatioF());
    painter.drawPixmap(layout.icon.topLeft(), icon);
    painter.setFont(layout.font);
    painter.setPen(color);
    painter.drawText(layout.title, Qt::AlignLeft | Qt::AlignVCenter, layout.text);
}

} // namespace veltrin
