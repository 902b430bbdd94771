#pragma once

#include "ui/theme.h"

#include <QAbstractButton>
#include <QMargins>

namespace veltrin {

// The button look: tinted rounded face, a highlight gradient, an outline and a
// shadow; pressed, the button shrinks a little and its highlight dims.
struct MetalButtonStyle {
    bool prominent = false;

    struct Look {
        QColor fill;
        qreal highlightOpacity;
        QColor outline;
        QColor shadow;
        qreal scale;
    };
    Look look(bool pressed) const;
    // Paints the face into `face` (the shadow falls below it).
    void paint(QPainter& painter, const QRectF& face, bool pressed, SoftShadow& shadow) const;
};

// Room each button keeps around its face for the shadow, the same above and
// below so the face sits on the button's centre line.
inline constexpr QMargins kButtonShadowRoom(4, 5, 4, 5);

class MetalButton : public QAbstractButton {
    Q_OBJECT
public:
    MetalButton(const QString& text, const QString& symbol, MetalButtonStyle style, QWidget* parent = nullptr);

    QString symbol() const { return symbol_; }
    void setSymbol(const QString& symbol);
    // A second, dimmer line under the text.
    void setSecondaryText(const QString& text);
    QString secondaryText() const { return secondaryText_; }
    MetalButtonStyle style() const { return style_; }
    // Drops the shadow room on the left, so the face lines up with text above it.
    void setFlushLeft(bool flush);
    QRectF faceRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MetalButtonStyle style_;
    QMargins room_ = kButtonShadowRoom;
    QString symbol_;
    QString secondaryText_;
    SoftShadow shadow_;
};

} // namespace veltrin
