#include "ui/focus_ring.h"

#include "ui/theme.h"

#include <QPainter>
#include <QWidget>

namespace veltrin {

bool showsFocusRing(const QWidget& widget)
{
    return widget.hasFocus() && widget.window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void paintFocusRing(QPainter& painter, const QRectF& face, qreal cornerRadius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Palette::withOpacity(Palette::accentBlue(), 0.95), 2));
    painter.drawRoundedRect(face.adjusted(-1.5, -1.5, 1.5, 1.5), cornerRadius + 1.5, cornerRadius + 1.5);
    painter.restore();
}

} // namespace veltrin
