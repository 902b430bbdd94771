#include "ui/theme.h"

#include <QFontDatabase>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace veltrin {

namespace Palette {

QColor white(qreal opacity) { return QColor::fromRgbF(1, 1, 1, float(opacity)); }
QColor black(qreal opacity) { return QColor::fromRgbF(0, 0, 0, float(opacity)); }

QColor withOpacity(const QColor& color, qreal opacity)
{
    QColor result = color;
    result.setAlphaF(float(opacity));
    return result;
}

namespace {
QColor rgb(float red, float green, float blue) { return QColor::fromRgbF(red, green, blue); }
} // namespace

// Function-local statics: made once on first use, safely even from two threads.
const QColor& metalBackgroundTop()
{
    static const QColor color = rgb(0.105f, 0.112f, 0.13f);
    return color;
}
const QColor& metalBackgroundBottom()
{
    static const QColor color = rgb(0.025f, 0.027f, 0.034f);
    return color;
}
const QColor& metalPanelStrong()
{
    static const QColor color = white(0.085);
    return color;
}
const QColor& metalStroke()
{
    static const QColor color = white(0.135);
    return color;
}
const QColor& metalText()
{
    static const QColor color = rgb(0.9f, 0.92f, 0.96f);
    return color;
}
const QColor& metalMuted()
{
    static const QColor color = rgb(0.63f, 0.66f, 0.73f);
    return color;
}
const QColor& accentBlue()
{
    static const QColor color = rgb(0.25f, 0.52f, 1.0f);
    return color;
}
const QColor& cardTitle()
{
    static const QColor color = rgb(0.58f, 0.72f, 1.0f);
    return color;
}
const QColor& selectedTabText()
{
    static const QColor color = rgb(0.78f, 0.86f, 1.0f);
    return color;
}
const QColor& statusLabel()
{
    static const QColor color = rgb(0.62f, 0.76f, 1.0f);
    return color;
}
const QColor& statusDot()
{
    static const QColor color = rgb(0.2f, 0.84f, 0.29f);
    return color;
}

} // namespace Palette

namespace Fonts {

QFont system(int pixelSize, QFont::Weight weight)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

QFont monospaced(int pixelSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace Fonts

namespace {

// One pass of a running-sum box blur over every row (or every column) of a
// premultiplied image; three passes each way come close to a Gaussian.
void boxBlurPass(QImage& image, int radius, bool alongRows)
{
    const int lines = alongRows ? image.height() : image.width();
    const int length = alongRows ? image.width() : image.height();
    const int window = 2 * radius + 1;
    std::vector<QRgb> source(static_cast<std::size_t>(length));
    const auto pixel = [&](int line, int at) -> QRgb& {
        const int x = alongRows ? at : line;
        const int y = alongRows ? line : at;
        return reinterpret_cast<QRgb*>(image.scanLine(y))[x];
    };
    for (int line = 0; line < lines; ++line) {
        for (int at = 0; at < length; ++at)
            source[std::size_t(at)] = pixel(line, at);
        std::array<int, 4> sum{};
        const auto add = [&](int at, int sign) {
            if (at < 0 || at >= length)
                return;
            const QRgb value = source[std::size_t(at)];
            sum[0] += sign * qAlpha(value);
            sum[1] += sign * qRed(value);
            sum[2] += sign * qGreen(value);
            sum[3] += sign * qBlue(value);
        };
        for (int at = -radius; at <= radius; ++at)
            add(at, 1);
        for (int at = 0; at < length; ++at) {
            pixel(line, at) = qRgba(sum[1] / window, sum[2] / window, sum[3] / window, sum[0] / window);
            add(at + radius + 1, 1);
            add(at - radius, -1);
        }
    }
}

} // namespace

void SoftShadow::paint(QPainter& painter, const QRectF& shape, qreal cornerRadius, qreal blurRadius, QPointF offset,
                       const QColor& color)
{
    // A blur radius reads as about twice the Gaussian's standard deviation.
    const int boxRadius = std::max(1, int(std::lround(blurRadius / 2)));
    const int margin = 3 * boxRadius + 2;
    const QSize size(int(std::ceil(shape.width())) + 2 * margin, int(std::ceil(shape.height())) + 2 * margin);
    // The silhouette is blurred opaque and faded while drawing, so a pulsing
    // opacity reuses one image.
    const QColor opaque = Palette::withOpacity(color, 1);
    const QString key = QStringLiteral("%1x%2/%3/%4/%5")
                            .arg(size.width())
                            .arg(size.height())
                            .arg(cornerRadius)
                            .arg(boxRadius)
                            .arg(opaque.rgba(), 0, 16);
    auto found = blurred_.find(key);
    if (found == blurred_.end()) {
        if (blurred_.size() > 32)
            blurred_.clear();
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter shapePainter(&image);
            shapePainter.setRenderHint(QPainter::Antialiasing);
            shapePainter.setPen(Qt::NoPen);
            shapePainter.setBrush(opaque);
            shapePainter.drawRoundedRect(QRectF(margin, margin, shape.width(), shape.height()), cornerRadius,
                                         cornerRadius);
        }
        for (int pass = 0; pass < 3; ++pass) {
            boxBlurPass(image, boxRadius, true);
            boxBlurPass(image, boxRadius, false);
        }
        found = blurred_.insert(key, image);
    }
    painter.save();
    painter.setOpacity(painter.opacity() * color.alphaF());
    painter.drawImage(shape.topLeft() + offset - QPointF(margin, margin), *found);
    painter.restore();
}

void paintMetalWindowBackground(QPainter& painter, const QRectF& rect)
{
    painter.save();
    QLinearGradient base(rect.topLeft(), rect.bottomRight());
    base.setColorAt(0, Palette::metalBackgroundTop());
    base.setColorAt(1, Palette::metalBackgroundBottom());
    painter.fillRect(rect, base);

    // Each glow is solid out to its inner radius and fades to nothing at its outer one.
    const auto glow = [&](QPointF centre, qreal inner, qreal outer, const QColor& color, QPainter::CompositionMode mode) {
        QRadialGradient gradient(centre, outer);
        gradient.setColorAt(inner / outer, color);
        gradient.setColorAt(1, Palette::withOpacity(color, 0));
        painter.setCompositionMode(mode);
        painter.fillRect(rect, gradient);
    };
    glow(rect.topLeft(), 40, 620, Palette::white(0.12), QPainter::CompositionMode_Screen);
    glow(rect.topRight(), 40, 520, Palette::withOpacity(Palette::accentBlue(), 0.18), QPainter::CompositionMode_SourceOver);
    glow(rect.bottomRight(), 20, 680, Palette::black(0.7), QPainter::CompositionMode_SourceOver);
    painter.restore();
}

} // namespace veltrin
