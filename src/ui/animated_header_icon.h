#pragma once

#include "ui/theme.h"

#include <QElapsedTimer>
#include <QHash>
#include <QPixmap>
#include <QWidget>

class QTimer;

namespace veltrin {

// The platform's reduce-motion accessibility setting; elsewhere VELTRIN_REDUCE_MOTION=1.
bool reduceMotionRequested();

// The application image in the top bar, over a soft blue backing that slowly
// breathes (4 s each way) while shown, unless reduce motion is on.
class AnimatedHeaderIcon : public QWidget {
    Q_OBJECT
public:
    explicit AnimatedHeaderIcon(bool reduceMotion, QWidget* parent = nullptr);

    struct Look {
        qreal backingOpacity;
        qreal backingBlur;
        qreal glowOpacity;
        qreal glowRadius;
        friend bool operator==(const Look&, const Look&) = default;
    };
    Look look() const;
    bool reduceMotion() const { return reduceMotion_; }
    bool isBreathing() const { return breathing_; }
    bool isAnimating() const;

    static constexpr int kSide = 64;
    static constexpr int kMargin = 12;
    // The breath is drawn in this many steps each way, each step drawn once and
    // kept: a repaint is then one cached image, a few times a second.
    static constexpr int kSteps = 24;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setBreathing(bool breathing);
    void updateBreathing();
    void tick();
    int step() const;
    QPixmap frame(int step);

    bool reduceMotion_;
    bool breathing_ = false;
    QTimer* ticker_ = nullptr;
    QElapsedTimer clock_;
    int shownStep_ = 0;
    QWidget* watchedWindow_ = nullptr;
    SoftShadow shadow_;
    QHash<int, QPixmap> frames_;
    qreal framesRatio_ = 0;
};

} // namespace veltrin
