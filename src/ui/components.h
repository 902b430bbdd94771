#pragma once

// The building blocks every screen is made of: cards, label/value rows (plain and
// maskable), pills, section headers, the metal button, the breathing header icon
// and the window background.

#include "ui/binding.h"
#include "ui/theme.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

#include <string>
#include <string_view>

class QScrollBar;
class QSequentialAnimationGroup;
class QVBoxLayout;

namespace veltrin {

// Plain text only: hardware strings are never read as markup.
QLabel* makeLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent = nullptr);
// A paragraph that wraps to as many lines as it needs.
QLabel* makeParagraph(const QString& text, const QFont& font, const QColor& color, bool selectable,
                      QWidget* parent = nullptr);
void makeSelectable(QLabel* label);

// One line, truncated in the middle when too narrow, selectable. It asks for no
// width of its own, so a long value never widens its card.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(const QString& text = {}, QWidget* parent = nullptr);
    void setFullText(const QString& text);
    QString fullText() const { return fullText_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();
    QString fullText_;
};

// The dark rounded box that holds a row's value.
class ValueBox : public QWidget {
    Q_OBJECT
public:
    ValueBox(const QString& text, bool monospaced, const QColor& outline, QWidget* parent = nullptr);
    void setText(const QString& text) { text_->setFullText(text); }
    QString text() const { return text_->fullText(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ElidedLabel* text_;
    QColor outline_;
};

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

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF faceRect() const;
    MetalButtonStyle style_;
    QString symbol_;
    QString secondaryText_;
    SoftShadow shadow_;
};

// A label and its value. A value the placeholder rule hides makes no row at all:
// create() then returns nullptr and nothing takes space.
class InfoRow : public QWidget {
    Q_OBJECT
public:
    static InfoRow* create(const QString& label, std::string_view value, bool monospaced = false,
                           QWidget* parent = nullptr);
    QString label() const { return label_->text(); }
    QString value() const { return value_->text(); }

private:
    InfoRow(const QString& label, const QString& value, bool monospaced, QWidget* parent);
    QLabel* label_;
    ValueBox* value_;
};

// `value` as bullets, one per user-perceived character but never fewer than 8 nor
// more than 16, so the mask does not tell the length of short or long values.
QString maskedValue(std::string_view value);

// A row whose value can be masked; the Show/Hide button flips the bound flag.
class SensitiveInfoRow : public QWidget {
    Q_OBJECT
public:
    static SensitiveInfoRow* create(const QString& label, std::string_view value, BoolBinding isHidden,
                                    bool monospaced = false, QWidget* parent = nullptr);
    QString label() const { return label_->text(); }
    QString displayValue() const;
    QString shownValue() const { return value_->text(); }
    MetalButton* toggleButton() const { return toggle_; }

private:
    SensitiveInfoRow(const QString& label, std::string value, BoolBinding isHidden, bool monospaced,
                     QWidget* parent);
    void render();

    QLabel* label_;
    ValueBox* value_;
    MetalButton* toggle_;
    std::string rawValue_;
    BoolBinding isHidden_;
};

// A translucent rounded card with an optional title over its content. The card's
// drop shadow is painted by the page behind it (it falls outside the card).
class GlassCard : public QWidget {
    Q_OBJECT
public:
    explicit GlassCard(const QString& title = {}, QWidget* parent = nullptr);
    QString title() const { return title_; }

    void add(QWidget* widget);
    // Adds the row unless the placeholder rule hides its value.
    InfoRow* addRow(const QString& label, std::string_view value, bool monospaced = false);
    SensitiveInfoRow* addSensitiveRow(const QString& label, std::string_view value, BoolBinding isHidden,
                                      bool monospaced = false);
    QLabel* addParagraph(const QString& text, const QColor& color, bool selectable = false,
                         const QFont& font = Fonts::system(Fonts::kBody));

    static constexpr qreal kCornerRadius = 18;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    QVBoxLayout* column_;
};

// Paints the drop shadow of every visible card inside `page` (in page coordinates).
void paintCardShadows(QPainter& painter, QWidget* page, SoftShadow& shadow);

// A capsule badge. Pills show their text as it is; no placeholder rule applies.
class Pill : public QWidget {
    Q_OBJECT
public:
    explicit Pill(const QString& text, QWidget* parent = nullptr);
    QString text() const { return text_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

class SectionHeader : public QWidget {
    Q_OBJECT
public:
    SectionHeader(const QString& title, const QString& subtitle, QWidget* parent = nullptr);
    QString title() const { return title_->text(); }
    QString subtitle() const { return subtitle_->text(); }

private:
    QLabel* title_;
    QLabel* subtitle_;
};

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

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setBreathing(bool breathing);

    bool reduceMotion_;
    bool breathing_ = false;
    qreal phase_ = 0; // 0: at rest, 1: fully breathed in
    QSequentialAnimationGroup* pulse_ = nullptr;
    SoftShadow shadow_;
    QPixmap image_;
};

// A thin translucent scroll bar that suits the dark glass.
void styleScrollBar(QScrollBar* bar);

// The window background of every window.
class MetalWindowBackground : public QWidget {
    Q_OBJECT
public:
    explicit MetalWindowBackground(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace veltrin
