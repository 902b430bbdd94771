#pragma once

// The building blocks every screen is made of: cards, label/value rows (plain and
// maskable), pills, section headers, the metal button, the breathing header icon
// and the window background.

#include "ui/binding.h"
#include "ui/theme.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QHash>
#include <QLabel>
#include <QMargins>
#include <QTextEdit>
#include <QWidget>

#include <string>
#include <string_view>
#include <vector>

class QMenu;
class QScrollArea;
class QScrollBar;
class QTimer;
class QVBoxLayout;

namespace veltrin {

// Plain text only: hardware strings are never read as markup.
QLabel* makeLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent = nullptr);
// A paragraph that wraps to as many lines as it needs.
QLabel* makeParagraph(const QString& text, const QFont& font, const QColor& color, bool selectable,
                      QWidget* parent = nullptr);
void makeSelectable(QLabel* label);

// One line, truncated in the middle when too narrow, selectable. It asks for no
// width of its own, so a long value never widens its card. Shortening is for the
// eye only: copying (keys, context menu, the selection of X11) takes the full
// value whenever the line shows less than all of it, and the tooltip shows it.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(const QString& text = {}, QWidget* parent = nullptr);
    void setFullText(const QString& text);
    QString fullText() const { return fullText_; }
    bool isElided() const { return text() != fullText_; }
    // What a copy takes: the full value while shortened, else the selection, else all.
    QString copiedText() const;
    // The context menu: Copy (as above) and Select All.
    QMenu* makeContextMenu();
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void elide();
    QString fullText_;
};

// A selectable paragraph of hardware text (feature flags, detection notes). It
// wraps at word boundaries and, where one token is wider than the card, inside
// the token, so no value widens the page; every character stays on screen, so
// a selection copies exactly what it covers.
class WrappingText : public QTextEdit {
    Q_OBJECT
public:
    WrappingText(const QString& text, const QFont& font, const QColor& color, QWidget* parent = nullptr);
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

// How a value box lays out its text.
enum class ValueLayout {
    lines,   // each line of the text on one line of its own, shortened in the middle
    wrapped, // one paragraph wrapped at word boundaries, never shortened
};

// The dark rounded box that holds a row's value.
class ValueBox : public QWidget {
    Q_OBJECT
public:
    ValueBox(const QString& text, bool monospaced, const QColor& outline, ValueLayout layout = ValueLayout::lines,
             QWidget* parent = nullptr);
    void setText(const QString& text);
    // The full text, lines joined by line feeds.
    QString text() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* column_;
    std::vector<ElidedLabel*> lines_;
    QLabel* paragraph_ = nullptr;
    QFont font_;
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

// Room each button keeps around its face for the shadow, the same above and
// below so the face sits on the button's centre line.
inline constexpr QMargins kButtonShadowRoom(4, 5, 4, 5);

// True while `widget` has the focus and the keyboard brought it there (a click does not ring).
bool showsFocusRing(const QWidget& widget);
// Paints the keyboard focus ring around a rounded face.
void paintFocusRing(QPainter& painter, const QRectF& face, qreal cornerRadius);

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

// Every row of a card takes one slot of the same height: the value box (or the
// Show/Hide button) centred in it, so rows follow each other at an even pitch.
class CardRow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSlotHeight = 44;
    static constexpr int kValueBoxHeight = 32;

protected:
    explicit CardRow(QWidget* parent) : QWidget(parent) {}
};

// A label and its value. A value the placeholder rule hides makes no row at all:
// create() then returns nullptr and nothing takes space.
class InfoRow : public CardRow {
    Q_OBJECT
public:
    static InfoRow* create(const QString& label, std::string_view value, bool monospaced = false,
                           QWidget* parent = nullptr, ValueLayout layout = ValueLayout::lines);
    QString label() const { return label_->text(); }
    QString value() const { return value_->text(); }

private:
    InfoRow(const QString& label, const QString& value, bool monospaced, ValueLayout layout, QWidget* parent);
    QLabel* label_;
    ValueBox* value_;
};

// `value` as bullets, one per user-perceived character but never fewer than 8 nor
// more than 16, so the mask does not tell the length of short or long values.
QString maskedValue(std::string_view value);

// A row whose value can be masked; the Show/Hide button flips the bound flag.
class SensitiveInfoRow : public CardRow {
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

    // Rows follow each other slot by slot; anything else keeps 12 points from its neighbours.
    void add(QWidget* widget);
    void add(QLayout* layout);
    // Adds the row unless the placeholder rule hides its value.
    InfoRow* addRow(const QString& label, std::string_view value, bool monospaced = false,
                    ValueLayout layout = ValueLayout::lines);
    SensitiveInfoRow* addSensitiveRow(const QString& label, std::string_view value, BoolBinding isHidden,
                                      bool monospaced = false);
    // Fixed texts of the application.
    QLabel* addParagraph(const QString& text, const QColor& color, bool selectable = false,
                         const QFont& font = Fonts::system(Fonts::kBody));
    // Text a machine reported, of any length and shape: selectable, wrapped anywhere it must.
    WrappingText* addHardwareText(const QString& text, const QColor& color,
                                  const QFont& font = Fonts::system(Fonts::kBody));

    static constexpr qreal kCornerRadius = 18;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void spaceBefore(bool row);

    QString title_;
    QVBoxLayout* column_;
    bool empty_ = true;
    bool lastWasRow_ = false;
};

// Paints the drop shadow of every visible card inside `page` (in page coordinates).
void paintCardShadows(QPainter& painter, QWidget* page, SoftShadow& shadow);

// A capsule badge. Pills show their text as it is; no placeholder rule applies.
// Squeezed, a pill shortens its text at the end rather than widen the page.
class Pill : public QWidget {
    Q_OBJECT
public:
    explicit Pill(const QString& text, QWidget* parent = nullptr);
    QString text() const { return text_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString shownText() const;
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

// A thin translucent scroll bar that suits the dark glass.
void styleScrollBar(QScrollBar* bar);

// Gives `area` a vertical scroll bar that floats over the right edge of its
// view instead of taking width from it, so the content is as wide whether it
// scrolls or not and card edges stay put from tab to tab. The content keeps a
// margin on the right that the bar fits in.
QScrollBar* addOverlayScrollBar(QScrollArea& area);

// The window background of every window.
class MetalWindowBackground : public QWidget {
    Q_OBJECT
public:
    explicit MetalWindowBackground(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace veltrin
