#include "ui/icons.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace veltrin {
namespace {

QString symbolPath(const QString& symbol) { return QStringLiteral(":/icons/%1.svg").arg(symbol); }

} // namespace

QImage renderedSvg(const QString& path, int size, qreal devicePixelRatio)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    const int pixels = int(std::lround(size * devicePixelRatio));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

QPixmap symbolPixmap(const QString& symbol, int size, const QColor& color, qreal devicePixelRatio)
{
    QImage image = renderedSvg(symbolPath(symbol), size, devicePixelRatio);
    if (image.isNull())
        return {};
    // The icons are drawn in white; their coverage takes the requested colour.
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    painter.end();
    return QPixmap::fromImage(image);
}

QPixmap applicationImage(int size, qreal devicePixelRatio)
{
    return QPixmap::fromImage(renderedSvg(QStringLiteral(":/ChipGlass3D.svg"), size, devicePixelRatio));
}

} // namespace veltrin
