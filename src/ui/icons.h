#pragma once

// Veltrin's own line icons, one per symbol name (the names follow the platform
// symbol font: "cpu", "eye.slash", "arrow.clockwise" …), drawn in one colour.

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace veltrin {

// The icon for `symbol` at `size` logical pixels in `color`; a null pixmap when
// no icon of that name exists.
QPixmap symbolPixmap(const QString& symbol, int size, const QColor& color, qreal devicePixelRatio = 1.0);

// The square "ChipGlass3D" application image at `size` logical pixels.
QPixmap applicationImage(int size, qreal devicePixelRatio = 1.0);

// The square SVG at `path` (a file or a resource) on a transparent image of `size`
// logical pixels; a null image when it cannot be read.
QImage renderedSvg(const QString& path, int size, qreal devicePixelRatio = 1.0);

} // namespace veltrin
