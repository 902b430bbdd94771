#pragma once

#include <QRectF>

class QPainter;
class QWidget;

namespace veltrin {

// True while `widget` has the focus and the keyboard brought it there (a click does not ring).
bool showsFocusRing(const QWidget& widget);
// Paints the keyboard focus ring around a rounded face.
void paintFocusRing(QPainter& painter, const QRectF& face, qreal cornerRadius);

} // namespace veltrin
