#pragma once

// The dark metallic palette, the fonts and the soft shadows every view paints with.

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPointF>
#include <QRectF>

class QPainter;

namespace veltrin {

namespace Palette {
const QColor& metalBackgroundTop();
const QColor& metalBackgroundBottom();
const QColor& metalPanelStrong();
const QColor& metalStroke();
const QColor& metalText();
const QColor& metalMuted();
const QColor& accentBlue();

const QColor& cardTitle();
const QColor& selectedTabText();
const QColor& statusLabel();
const QColor& statusDot();

QColor white(qreal opacity);
QColor black(qreal opacity);
QColor withOpacity(const QColor& color, qreal opacity);
} // namespace Palette

namespace Fonts {
inline constexpr int kBody = 13;
inline constexpr int kCaption = 11;
QFont system(int pixelSize, QFont::Weight weight = QFont::Normal);
QFont monospaced(int pixelSize = kBody);
} // namespace Fonts

// Paints the blurred silhouette of a rounded rectangle: drop shadows, glows and the
// header icon's soft backing. Blurred images are kept per size, colour and radius,
// since cards repaint often and resize rarely.
class SoftShadow {
public:
    void paint(QPainter& painter, const QRectF& shape, qreal cornerRadius, qreal blurRadius, QPointF offset,
               const QColor& color);

private:
    QHash<QString, QImage> blurred_;
};

// The four layers behind every window: the diagonal base gradient, a white sheen
// from the top-left corner, a blue glow from the top-right one and a dark
// vignette in the bottom-right one.
void paintMetalWindowBackground(QPainter& painter, const QRectF& rect);

} // namespace veltrin
