#include "ui/metal_window_background.h"

#include "ui/theme.h"

#include <QPainter>

namespace veltrin {

MetalWindowBackground::MetalWindowBackground(QWidget* parent) : QWidget(parent) {}

void MetalWindowBackground::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintMetalWindowBackground(painter, rect());
}

} // namespace veltrin
