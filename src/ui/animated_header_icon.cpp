#include "ui/animated_header_icon.h"

#include "ui/icons.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#ifdef __APPLE__
#include <CoreFoundation/CoreFoundation.h>
#endif

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

namespace veltrin {

bool reduceMotionRequested()
{
#ifdef __APPLE__
    Boolean valid = false;
    const Boolean reduce =
        CFPreferencesGetAppBooleanValue(CFSTR("reduceMotion"), CFSTR("com.apple.universalaccess"), &valid);
    return valid && reduce;
#else
    const char* value = std::getenv("VELTRIN_REDUCE_MOTION");
    return value != nullptr && std::strcmp(value, "1") == 0;
#endif
}

namespace {

constexpr AnimatedHeaderIcon::Look kRestingLook{0.05, 5, 0.1, 6};
constexpr AnimatedHeaderIcon::Look kBreathingLook{0.12, 9, 0.2, 10};
constexpr AnimatedHeaderIcon::Look kStillLook{0.07, 6, 0.12, 7};
constexpr int kBreathMilliseconds = 4000; // each way
// How often the clock is looked at; a repaint follows only when the step changes.
constexpr int kTickMilliseconds = 66;
constexpr qreal kIconCornerRadius = 16;
constexpr int kStillFrame = -1;

qreal between(qreal from, qreal to, qreal phase) { return from + (to - from) * phase; }

// In for four seconds, out for four, eased at both ends.
qreal breathAt(qint64 milliseconds)
{
    const qreal cycle = 2.0 * kBreathMilliseconds;
    qreal t = std::fmod(qreal(milliseconds), cycle) / kBreathMilliseconds;
    if (t > 1)
        t = 2 - t;
    return (1 - std::cos(std::numbers::pi * t)) / 2;
}

} // namespace

AnimatedHeaderIcon::AnimatedHeaderIcon(bool reduceMotion, QWidget* parent) : QWidget(parent), reduceMotion_(reduceMotion)
{
    setFixedSize(kSide + 2 * kMargin, kSide + 2 * kMargin);
    if (reduceMotion_)
        return;
    ticker_ = new QTimer(this);
    ticker_->setInterval(kTickMilliseconds);
    ticker_->setTimerType(Qt::CoarseTimer);
    connect(ticker_, &QTimer::timeout, this, [this] { tick(); });
}

AnimatedHeaderIcon::Look AnimatedHeaderIcon::look() const
{
    if (reduceMotion_)
        return kStillLook;
    const qreal phase = qreal(shownStep_) / kSteps;
    return {between(kRestingLook.backingOpacity, kBreathingLook.backingOpacity, phase),
            between(kRestingLook.backingBlur, kBreathingLook.backingBlur, phase),
            between(kRestingLook.glowOpacity, kBreathingLook.glowOpacity, phase),
            between(kRestingLook.glowRadius, kBreathingLook.glowRadius, phase)};
}

bool AnimatedHeaderIcon::isAnimating() const { return ticker_ != nullptr && ticker_->isActive(); }

void AnimatedHeaderIcon::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Minimising keeps the window "visible" to Qt; its state says it is not on screen.
    if (watchedWindow_ != window()) {
        if (watchedWindow_ != nullptr)
            watchedWindow_->removeEventFilter(this);
        watchedWindow_ = window();
        watchedWindow_->installEventFilter(this);
    }
    updateBreathing();
}

void AnimatedHeaderIcon::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    updateBreathing();
}

bool AnimatedHeaderIcon::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == watchedWindow_ && event->type() == QEvent::WindowStateChange)
        updateBreathing();
    return QWidget::eventFilter(watched, event);
}

void AnimatedHeaderIcon::updateBreathing()
{
    setBreathing(!reduceMotion_ && isVisible() && !window()->isMinimized());
}

void AnimatedHeaderIcon::setBreathing(bool breathing)
{
    if (breathing_ == breathing)
        return;
    breathing_ = breathing;
    if (ticker_ == nullptr)
        return;
    if (breathing) {
        clock_.start();
        ticker_->start();
    } else {
        ticker_->stop();
    }
    tick();
}

int AnimatedHeaderIcon::step() const
{
    return breathing_ ? int(std::lround(breathAt(clock_.elapsed()) * kSteps)) : 0;
}

void AnimatedHeaderIcon::tick()
{
    const int now = step();
    if (now == shownStep_)
        return;
    shownStep_ = now;
    update();
}

// The whole icon at one step of the breath, drawn once per step and scale.
QPixmap AnimatedHeaderIcon::frame(int step)
{
    const qreal ratio = devicePixelRatioF();
    if (ratio != framesRatio_) {
        frames_.clear();
        framesRatio_ = ratio;
    }
    if (const auto found = frames_.constFind(step); found != frames_.constEnd())
        return *found;

    QPixmap pixmap(size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRectF square(kMargin, kMargin, kSide, kSide);
        const Look current = look();
        const QColor& accent = Palette::accentBlue();
        shadow_.paint(painter, square.adjusted(-2, -2, 2, 2), kIconCornerRadius, current.backingBlur, {},
                      Palette::withOpacity(accent, current.backingOpacity));
        shadow_.paint(painter, square, kIconCornerRadius, 8, QPointF(0, 6), Palette::black(0.42));
        shadow_.paint(painter, square, kIconCornerRadius, current.glowRadius, {},
                      Palette::withOpacity(accent, current.glowOpacity));
        QPainterPath shape;
        shape.addRoundedRect(square, kIconCornerRadius, kIconCornerRadius);
        painter.save();
        painter.setClipPath(shape);
        const QPixmap image = applicationImage(kSide, ratio);
        painter.drawPixmap(square, image, QRectF(QPointF(0, 0), image.size()));
        painter.restore();
        painter.setPen(QPen(Palette::white(0.18), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(square.adjusted(0.5, 0.5, -0.5, -0.5), kIconCornerRadius, kIconCornerRadius);
    }
    frames_.insert(step, pixmap);
    return pixmap;
}

void AnimatedHeaderIcon::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, frame(reduceMotion_ ? kStillFrame : shownStep_));
}

} // namespace veltrin
