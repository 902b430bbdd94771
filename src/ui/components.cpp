#include "ui/components.h"

#include "core/unicode_text.h"
#include "ui/icons.h"
#include "core/placeholder_rule.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QSequentialAnimationGroup>
#include <QVBoxLayout>
#include <QVariantAnimation>

#ifdef __APPLE__
#include <CoreFoundation/CoreFoundation.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace veltrin {
namespace {

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

} // namespace

QLabel* makeLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    setTextColor(label, color);
    return label;
}

QLabel* makeParagraph(const QString& text, const QFont& font, const QColor& color, bool selectable, QWidget* parent)
{
    QLabel* label = makeLabel(text, font, color, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (selectable)
        makeSelectable(label);
    return label;
}

void makeSelectable(QLabel* label)
{
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setCursor(Qt::IBeamCursor);
}

// ElidedLabel

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    makeSelectable(this);
    setFullText(text);
}

void ElidedLabel::setFullText(const QString& text)
{
    fullText_ = text;
    elide();
    updateGeometry();
}

QSize ElidedLabel::sizeHint() const
{
    return {fontMetrics().horizontalAdvance(fullText_) + 1, fontMetrics().height()};
}

QSize ElidedLabel::minimumSizeHint() const { return {0, fontMetrics().height()}; }

void ElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide()
{
    const QString shown = fontMetrics().elidedText(fullText_, Qt::ElideMiddle, std::max(0, contentsRect().width()));
    if (shown != text())
        QLabel::setText(shown);
    setToolTip(shown == fullText_ ? QString() : fullText_);
}

// ValueBox

ValueBox::ValueBox(const QString& text, bool monospaced, const QColor& outline, QWidget* parent)
    : QWidget(parent), text_(new ElidedLabel), outline_(outline)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 0, 12, 0);
    text_->setFont(monospaced ? Fonts::monospaced() : Fonts::system(Fonts::kBody));
    setTextColor(text_, Palette::metalText());
    text_->setFullText(text);
    layout->addWidget(text_);
    setMinimumHeight(32);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ValueBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(outline_, 1));
    painter.setBrush(Palette::black(0.25));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
}

// MetalButtonStyle and MetalButton

MetalButtonStyle::Look MetalButtonStyle::look(bool pressed) const
{
    const QColor& accent = Palette::accentBlue();
    return {
        .fill = prominent ? Palette::withOpacity(accent, 0.34) : Palette::white(0.075),
        .highlightOpacity = pressed ? 0.08 : 0.18,
        .outline = prominent ? Palette::withOpacity(accent, 0.9) : Palette::white(0.14),
        .shadow = prominent ? Palette::withOpacity(accent, 0.22) : Palette::black(0.28),
        .scale = pressed ? 0.985 : 1.0,
    };
}

// Leaves the painter scaled about the face's centre, so the caller's label
// shrinks with the face.
void MetalButtonStyle::paint(QPainter& painter, const QRectF& face, bool pressed, SoftShadow& shadow) const
{
    const Look current = look(pressed);
    const QPointF centre = face.center();
    painter.translate(centre);
    painter.scale(current.scale, current.scale);
    painter.translate(-centre);

    constexpr qreal radius = 10;
    shadow.paint(painter, face, radius, 9, QPointF(0, 5), current.shadow);
    QPainterPath shape;
    shape.addRoundedRect(face, radius, radius);
    painter.fillPath(shape, current.fill);
    QLinearGradient highlight(face.topLeft(), face.bottomLeft());
    highlight.setColorAt(0, Palette::white(current.highlightOpacity));
    highlight.setColorAt(1, Palette::black(0.2));
    painter.fillPath(shape, highlight);
    painter.setPen(QPen(current.outline, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(face.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

namespace {

// Room around the face for the shadow, which falls 5 points down.
constexpr QMargins kButtonShadowRoom(4, 2, 4, 8);
constexpr int kButtonIconSize = 15;
constexpr int kButtonIconGap = 7;

QFont buttonFont() { return Fonts::system(13, QFont::DemiBold); }
QFont buttonSecondaryFont() { return Fonts::system(Fonts::kCaption, QFont::Medium); }

} // namespace

MetalButton::MetalButton(const QString& text, const QString& symbol, MetalButtonStyle style, QWidget* parent)
    : QAbstractButton(parent), style_(style), symbol_(symbol)
{
    setText(text);
    setFont(buttonFont());
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void MetalButton::setSymbol(const QString& symbol)
{
    symbol_ = symbol;
    update();
}

void MetalButton::setSecondaryText(const QString& text)
{
    secondaryText_ = text;
    updateGeometry();
    update();
}

QSize MetalButton::sizeHint() const
{
    const QFontMetrics primary(buttonFont());
    const QFontMetrics secondary(buttonSecondaryFont());
    int textWidth = primary.horizontalAdvance(text());
    int textHeight = primary.height();
    if (!secondaryText_.isEmpty()) {
        textWidth = std::max(textWidth, secondary.horizontalAdvance(secondaryText_));
        textHeight += secondary.height();
    }
    const int iconWidth = symbol_.isEmpty() ? 0 : kButtonIconSize + (text().isEmpty() ? 0 : kButtonIconGap);
    const QSize face(iconWidth + textWidth + 2 * 14, std::max(34, textHeight + 12));
    return face.grownBy(kButtonShadowRoom);
}

QRectF MetalButton::faceRect() const { return QRectF(rect().marginsRemoved(kButtonShadowRoom)); }

void MetalButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF face = faceRect();
    style_.paint(painter, face, isDown(), shadow_);

    const QFontMetricsF primary(buttonFont());
    const QFontMetricsF secondary(buttonSecondaryFont());
    qreal textWidth = primary.horizontalAdvance(text());
    if (!secondaryText_.isEmpty())
        textWidth = std::max(textWidth, secondary.horizontalAdvance(secondaryText_));
    const qreal iconWidth = symbol_.isEmpty() ? 0 : kButtonIconSize + (text().isEmpty() ? 0 : kButtonIconGap);
    qreal x = face.center().x() - (iconWidth + textWidth) / 2;

    if (!symbol_.isEmpty()) {
        const QPixmap icon = symbolPixmap(symbol_, kButtonIconSize, Palette::metalText(), devicePixelRatioF());
        painter.drawPixmap(QPointF(x, face.center().y() - kButtonIconSize / 2.0), icon);
        x += iconWidth;
    }
    const qreal textHeight = primary.height() + (secondaryText_.isEmpty() ? 0 : secondary.height());
    const qreal top = face.center().y() - textHeight / 2;
    painter.setFont(buttonFont());
    painter.setPen(Palette::metalText());
    painter.drawText(QRectF(x, top, textWidth, primary.height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    if (!secondaryText_.isEmpty()) {
        painter.setFont(buttonSecondaryFont());
        painter.setPen(Palette::white(0.72));
        painter.drawText(QRectF(x, top + primary.height(), textWidth, secondary.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, secondaryText_);
    }
}

// InfoRow

namespace {

constexpr int kRowLabelWidth = 155;
constexpr int kRowSpacing = 12;

QLabel* rowLabel(const QString& text)
{
    QLabel* label = makeLabel(text, Fonts::system(Fonts::kBody), Palette::metalMuted());
    label->setFixedWidth(kRowLabelWidth);
    return label;
}

QHBoxLayout* rowLayout(QWidget* row)
{
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kRowSpacing);
    return layout;
}

} // namespace

InfoRow* InfoRow::create(const QString& label, std::string_view value, bool monospaced, QWidget* parent)
{
    if (veltrinShouldHideField(value))
        return nullptr;
    return new InfoRow(label, fromUtf8(value), monospaced, parent);
}

InfoRow::InfoRow(const QString& label, const QString& value, bool monospaced, QWidget* parent)
    : QWidget(parent), label_(rowLabel(label)), value_(new ValueBox(value, monospaced, Palette::white(0.10)))
{
    QHBoxLayout* layout = rowLayout(this);
    layout->addWidget(label_, 0, Qt::AlignVCenter);
    layout->addWidget(value_, 1);
}

// SensitiveInfoRow

QString maskedValue(std::string_view value)
{
    const auto bullets = std::clamp<std::size_t>(graphemeCount(value), 8, 16);
    return QString(qsizetype(bullets), QChar(0x2022));
}

SensitiveInfoRow* SensitiveInfoRow::create(const QString& label, std::string_view value, BoolBinding isHidden,
                                           bool monospaced, QWidget* parent)
{
    if (veltrinShouldHideField(value))
        return nullptr;
    return new SensitiveInfoRow(label, std::string(value), std::move(isHidden), monospaced, parent);
}

SensitiveInfoRow::SensitiveInfoRow(const QString& label, std::string value, BoolBinding isHidden, bool monospaced,
                                   QWidget* parent)
    : QWidget(parent),
      label_(rowLabel(label)),
      value_(new ValueBox({}, monospaced, Palette::withOpacity(Palette::accentBlue(), 0.34))),
      toggle_(new MetalButton({}, {}, MetalButtonStyle{.prominent = false})),
      rawValue_(std::move(value)),
      isHidden_(std::move(isHidden))
{
    QHBoxLayout* layout = rowLayout(this);
    layout->addWidget(label_, 0, Qt::AlignVCenter);
    layout->addWidget(value_, 1);
    layout->addWidget(toggle_, 0, Qt::AlignVCenter);
    connect(toggle_, &QAbstractButton::clicked, this, [this] {
        isHidden_.set(!isHidden_.get());
        render();
    });
    render();
}

QString SensitiveInfoRow::displayValue() const
{
    return isHidden_.get() ? maskedValue(rawValue_) : fromUtf8(rawValue_);
}

void SensitiveInfoRow::render()
{
    const bool hidden = isHidden_.get();
    value_->setText(displayValue());
    toggle_->setText(hidden ? QStringLiteral("Show") : QStringLiteral("Hide"));
    toggle_->setSymbol(hidden ? QStringLiteral("eye") : QStringLiteral("eye.slash"));
    toggle_->updateGeometry();
}

// GlassCard

GlassCard::GlassCard(const QString& title, QWidget* parent) : QWidget(parent), title_(title), column_(new QVBoxLayout(this))
{
    column_->setContentsMargins(18, 18, 18, 18);
    column_->setSpacing(12);
    if (!title.isEmpty())
        column_->addWidget(makeLabel(title, Fonts::system(15, QFont::DemiBold), Palette::cardTitle()));
}

void GlassCard::add(QWidget* widget) { column_->addWidget(widget); }

InfoRow* GlassCard::addRow(const QString& label, std::string_view value, bool monospaced)
{
    InfoRow* row = InfoRow::create(label, value, monospaced);
    if (row != nullptr)
        add(row);
    return row;
}

SensitiveInfoRow* GlassCard::addSensitiveRow(const QString& label, std::string_view value, BoolBinding isHidden,
                                             bool monospaced)
{
    SensitiveInfoRow* row = SensitiveInfoRow::create(label, value, std::move(isHidden), monospaced);
    if (row != nullptr)
        add(row);
    return row;
}

QLabel* GlassCard::addParagraph(const QString& text, const QColor& color, bool selectable, const QFont& font)
{
    QLabel* paragraph = makeParagraph(text, font, color, selectable);
    add(paragraph);
    return paragraph;
}

void GlassCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(bounds, kCornerRadius, kCornerRadius);
    // The translucent material: a faint lift over whatever lies behind.
    painter.fillPath(shape, QColor(46, 50, 62, 92));
    QLinearGradient tint(bounds.topLeft(), bounds.bottomRight());
    tint.setColorAt(0, Palette::metalPanelStrong());
    tint.setColorAt(1, Palette::black(0.16));
    painter.fillPath(shape, tint);
    painter.setPen(QPen(Palette::metalStroke(), 1));
    painter.drawPath(shape);
}

void paintCardShadows(QPainter& painter, QWidget* page, SoftShadow& shadow)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (GlassCard* card : page->findChildren<GlassCard*>()) {
        if (!card->isVisibleTo(page))
            continue;
        const QRectF bounds(card->mapTo(page, QPoint(0, 0)), card->size());
        shadow.paint(painter, bounds, GlassCard::kCornerRadius, 18, QPointF(0, 12), Palette::black(0.38));
    }
    painter.restore();
}

// Pill

namespace {
QFont pillFont() { return Fonts::system(Fonts::kCaption, QFont::DemiBold); }
} // namespace

Pill::Pill(const QString& text, QWidget* parent) : QWidget(parent), text_(text)
{
    setFont(pillFont());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize Pill::sizeHint() const
{
    const QFontMetrics metrics(pillFont());
    return {metrics.horizontalAdvance(text_) + 2 * 10, metrics.height() + 2 * 6};
}

void Pill::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = bounds.height() / 2;
    painter.setPen(QPen(Palette::white(0.12), 1));
    painter.setBrush(Palette::white(0.08));
    painter.drawRoundedRect(bounds, radius, radius);
    painter.setPen(Palette::metalText());
    painter.setFont(pillFont());
    painter.drawText(rect(), Qt::AlignCenter, text_);
}

// SectionHeader

SectionHeader::SectionHeader(const QString& title, const QString& subtitle, QWidget* parent)
    : QWidget(parent),
      title_(makeLabel(title, Fonts::system(25, QFont::Bold), Palette::metalText())),
      subtitle_(makeLabel(subtitle, Fonts::system(Fonts::kBody), Palette::metalMuted()))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addWidget(title_);
    column->addWidget(subtitle_);
}

// AnimatedHeaderIcon

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
constexpr int kBreathSeconds = 4;
constexpr qreal kIconCornerRadius = 16;

qreal between(qreal from, qreal to, qreal phase) { return from + (to - from) * phase; }

} // namespace

AnimatedHeaderIcon::AnimatedHeaderIcon(bool reduceMotion, QWidget* parent) : QWidget(parent), reduceMotion_(reduceMotion)
{
    setFixedSize(kSide + 2 * kMargin, kSide + 2 * kMargin);
    if (reduceMotion_)
        return;
    // In and out again, eased at both ends, for as long as the icon is shown.
    pulse_ = new QSequentialAnimationGroup(this);
    for (const auto& [from, to] : {std::pair{0.0, 1.0}, std::pair{1.0, 0.0}}) {
        auto* half = new QVariantAnimation(pulse_);
        half->setStartValue(from);
        half->setEndValue(to);
        half->setDuration(kBreathSeconds * 1000);
        half->setEasingCurve(QEasingCurve::InOutSine);
        connect(half, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
            phase_ = value.toReal();
            update();
        });
        pulse_->addAnimation(half);
    }
    pulse_->setLoopCount(-1);
}

AnimatedHeaderIcon::Look AnimatedHeaderIcon::look() const
{
    if (reduceMotion_)
        return kStillLook;
    return {between(kRestingLook.backingOpacity, kBreathingLook.backingOpacity, phase_),
            between(kRestingLook.backingBlur, kBreathingLook.backingBlur, phase_),
            between(kRestingLook.glowOpacity, kBreathingLook.glowOpacity, phase_),
            between(kRestingLook.glowRadius, kBreathingLook.glowRadius, phase_)};
}

bool AnimatedHeaderIcon::isAnimating() const
{
    return pulse_ != nullptr && pulse_->state() == QAbstractAnimation::Running;
}

void AnimatedHeaderIcon::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!reduceMotion_)
        setBreathing(true);
}

void AnimatedHeaderIcon::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    setBreathing(false);
}

void AnimatedHeaderIcon::setBreathing(bool breathing)
{
    breathing_ = breathing;
    if (pulse_ == nullptr)
        return;
    if (breathing && pulse_->state() != QAbstractAnimation::Running) {
        pulse_->start();
    } else if (!breathing) {
        pulse_->stop();
        phase_ = 0;
        update();
    }
}

void AnimatedHeaderIcon::paintEvent(QPaintEvent*)
{
    if (image_.isNull() || image_.devicePixelRatio() != devicePixelRatioF())
        image_ = applicationImage(kSide, devicePixelRatioF());

    QPainter painter(this);
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
    painter.drawPixmap(square, image_, QRectF(QPointF(0, 0), image_.size()));
    painter.restore();
    painter.setPen(QPen(Palette::white(0.18), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(square.adjusted(0.5, 0.5, -0.5, -0.5), kIconCornerRadius, kIconCornerRadius);
}

void styleScrollBar(QScrollBar* bar)
{
    bar->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 12px; margin: 6px 3px 6px 0; }"
        "QScrollBar::handle:vertical { background: rgba(255, 255, 255, 46); border-radius: 4px; min-height: 32px; }"
        "QScrollBar::handle:vertical:hover { background: rgba(255, 255, 255, 72); }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }"));
}

// MetalWindowBackground

MetalWindowBackground::MetalWindowBackground(QWidget* parent) : QWidget(parent) {}

void MetalWindowBackground::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintMetalWindowBackground(painter, rect());
}

} // namespace veltrin
