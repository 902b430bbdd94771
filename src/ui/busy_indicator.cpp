#include "ui/busy_indicator.h"

#include "ui/theme.h"

#include <QPainter>
#include <QVariantAnimation>

namespace veltrin {

BusyIndicator::BusyIndicator(QWidget* parent) : QWidget(parent), spin_(new QVariantAnimation(this))
{
    setFixedSize(sizeHint());
    spin_->setStartValue(0.0);
    spin_->setEndValue(360.0);
    spin_->setDuration(1000);
    spin_->setLoopCount(-1);
    connect(spin_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        angle_ = value.toReal();
        update();
    });
}

void BusyIndicator::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    spin_->start();
}

void BusyIndicator::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    spin_->stop();
}

void BusyIndicator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF ring = QRectF(rect()).adjusted(2, 2, -2, -2);
    painter.setPen(QPen(Palette::white(0.14), 2.2));
    painter.drawEllipse(ring);
    painter.setPen(QPen(Palette::metalText(), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(ring, int(-angle_ * 16), 100 * 16);
}

} // namespace veltrin
