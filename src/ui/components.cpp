#include "ui/components.h"

#include "core/unicode_text.h"
#include "ui/icons.h"
#include "core/placeholder_rule.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#ifdef __APPLE__
#include <CoreFoundation/CoreFoundation.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numbers>
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

QString ElidedLabel::copiedText() const
{
    if (!isElided() && hasSelectedText())
        return selectedText();
    return fullText_;
}

QMenu* ElidedLabel::makeContextMenu()
{
    auto* menu = new QMenu(this);
    connect(menu->addAction(tr("Copy")), &QAction::triggered, this,
            [this] { QGuiApplication::clipboard()->setText(copiedText()); });
    connect(menu->addAction(tr("Select All")), &QAction::triggered, this,
            [this] { setSelection(0, int(text().size())); });
    return menu;
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

void ElidedLabel::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy) && textInteractionFlags() != Qt::NoTextInteraction) {
        QGuiApplication::clipboard()->setText(copiedText());
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ElidedLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    // X11 puts every selection on its own clipboard: there too, the full value.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (isElided() && hasSelectedText() && clipboard->supportsSelection())
        clipboard->setText(fullText_, QClipboard::Selection);
}

void ElidedLabel::contextMenuEvent(QContextMenuEvent* event)
{
    if (textInteractionFlags() == Qt::NoTextInteraction) {
        QLabel::contextMenuEvent(event);
        return;
    }
    QMenu* menu = makeContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

void ElidedLabel::elide()
{
    const QString shown = fontMetrics().elidedText(fullText_, Qt::ElideMiddle, std::max(0, contentsRect().width()));
    if (shown != text())
        QLabel::setText(shown);
    setToolTip(shown == fullText_ ? QString() : fullText_);
}

// WrappingText

WrappingText::WrappingText(const QString& text, const QFont& font, const QColor& color, QWidget* parent)
    : QTextEdit(parent)
{
    setReadOnly(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::ClickFocus);
    setFont(font);
    document()->setDocumentMargin(0);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    viewport()->setCursor(Qt::IBeamCursor);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::Base, Qt::transparent);
    setPalette(palette);
    setPlainText(text);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int WrappingText::heightForWidth(int width) const
{
    const std::unique_ptr<QTextDocument> measured(document()->clone());
    measured->setTextWidth(std::max(1, width));
    return int(std::ceil(measured->size().height()));
}

QSize WrappingText::sizeHint() const
{
    const int width = std::max(this->width(), 200);
    return {width, heightForWidth(width)};
}

QSize WrappingText::minimumSizeHint() const { return {0, fontMetrics().height()}; }

void WrappingText::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        updateGeometry(); // a new width, a new height
}

// ValueBox

ValueBox::ValueBox(const QString& text, bool monospaced, const QColor& outline, ValueLayout layout, QWidget* parent)
    : QWidget(parent), column_(new QVBoxLayout(this)),
      font_(monospaced ? Fonts::monospaced() : Fonts::system(Fonts::kBody)), outline_(outline)
{
    const int lineHeight = QFontMetrics(font_).height();
    const int padding = (CardRow::kValueBoxHeight - lineHeight) / 2;
    column_->setContentsMargins(12, padding, 12, padding);
    column_->setSpacing(2);
    if (layout == ValueLayout::wrapped) {
        paragraph_ = makeParagraph({}, font_, Palette::metalText(), true);
        column_->addWidget(paragraph_);
    }
    setText(text);
    setMinimumHeight(CardRow::kValueBoxHeight);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    policy.setHeightForWidth(layout == ValueLayout::wrapped);
    setSizePolicy(policy);
}

void ValueBox::setText(const QString& text)
{
    if (paragraph_ != nullptr) {
        paragraph_->setText(text);
        return;
    }
    const QStringList lines = text.split(QLatin1Char('\n'));
    while (lines_.size() > std::size_t(lines.size())) {
        delete lines_.back();
        lines_.pop_back();
    }
    while (lines_.size() < std::size_t(lines.size())) {
        auto* line = new ElidedLabel;
        line->setFont(font_);
        setTextColor(line, Palette::metalText());
        column_->addWidget(line);
        lines_.push_back(line);
    }
    for (std::size_t index = 0; index < lines_.size(); ++index)
        lines_[index]->setFullText(lines[qsizetype(index)]);
}

QString ValueBox::text() const
{
    if (paragraph_ != nullptr)
        return paragraph_->text();
    QStringList lines;
    for (const ElidedLabel* line : lines_)
        lines << line->fullText();
    return lines.join(QLatin1Char('\n'));
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
    // Reached with the Tab key, as on the Mac; a click does not leave a focus ring behind.
    setFocusPolicy(Qt::TabFocus);
    setObjectName(text);
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
    return face.grownBy(room_);
}

QRectF MetalButton::faceRect() const { return QRectF(rect().marginsRemoved(room_)); }

void MetalButton::setFlushLeft(bool flush)
{
    room_.setLeft(flush ? 0 : kButtonShadowRoom.left());
    updateGeometry();
    update();
}

bool showsFocusRing(const QWidget& widget)
{
    return widget.hasFocus() && widget.window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void paintFocusRing(QPainter& painter, const QRectF& face, qreal cornerRadius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Palette::withOpacity(Palette::accentBlue(), 0.95), 2));
    painter.drawRoundedRect(face.adjusted(-1.5, -1.5, 1.5, 1.5), cornerRadius + 1.5, cornerRadius + 1.5);
    painter.restore();
}

void MetalButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF face = faceRect();
    style_.paint(painter, face, isDown(), shadow_);
    if (showsFocusRing(*this))
        paintFocusRing(painter, face, 10);

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

// As tall as a one-line value box and centred on it, so a label also sits
// beside the first line of a taller box.
QLabel* rowLabel(const QString& text)
{
    QLabel* label = makeLabel(text, Fonts::system(Fonts::kBody), Palette::metalMuted());
    label->setFixedSize(kRowLabelWidth, CardRow::kValueBoxHeight);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QHBoxLayout* rowLayout(QWidget* row, int verticalPadding)
{
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, verticalPadding, 0, verticalPadding);
    layout->setSpacing(kRowSpacing);
    return layout;
}

} // namespace

InfoRow* InfoRow::create(const QString& label, std::string_view value, bool monospaced, QWidget* parent,
                         ValueLayout layout)
{
    if (veltrinShouldHideField(value))
        return nullptr;
    return new InfoRow(label, fromUtf8(value), monospaced, layout, parent);
}

InfoRow::InfoRow(const QString& label, const QString& value, bool monospaced, ValueLayout layout, QWidget* parent)
    : CardRow(parent), label_(rowLabel(label)), value_(new ValueBox(value, monospaced, Palette::white(0.10), layout))
{
    QHBoxLayout* row = rowLayout(this, (kSlotHeight - kValueBoxHeight) / 2);
    row->addWidget(label_, 0, Qt::AlignTop);
    row->addWidget(value_, 1);
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
    : CardRow(parent),
      label_(rowLabel(label)),
      value_(new ValueBox({}, monospaced, Palette::withOpacity(Palette::accentBlue(), 0.34))),
      toggle_(new MetalButton({}, {}, MetalButtonStyle{.prominent = false})),
      rawValue_(std::move(value)),
      isHidden_(std::move(isHidden))
{
    // The button's face is as tall as the slot leaves room for; its own
    // shadow room fills the slot, so the face centres on the value box.
    QHBoxLayout* layout = rowLayout(this, 0);
    setMinimumHeight(kSlotHeight);
    layout->addWidget(label_, 0, Qt::AlignVCenter);
    layout->addWidget(value_, 1, Qt::AlignVCenter);
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
    toggle_->setObjectName(label_->text());
    toggle_->setText(hidden ? QStringLiteral("Show") : QStringLiteral("Hide"));
    toggle_->setSymbol(hidden ? QStringLiteral("eye") : QStringLiteral("eye.slash"));
    toggle_->updateGeometry();
}

// GlassCard

namespace {
constexpr int kCardSpacing = 12;
constexpr int kRowSlotPadding = (CardRow::kSlotHeight - CardRow::kValueBoxHeight) / 2;
} // namespace

GlassCard::GlassCard(const QString& title, QWidget* parent) : QWidget(parent), title_(title), column_(new QVBoxLayout(this))
{
    column_->setContentsMargins(18, 18, 18, 18);
    column_->setSpacing(0);
    if (!title.isEmpty()) {
        // A long title is shortened, never allowed to widen the card; the tooltip has it whole.
        auto* heading = new ElidedLabel(title);
        heading->setTextInteractionFlags(Qt::NoTextInteraction);
        heading->setCursor(Qt::ArrowCursor);
        heading->setFont(Fonts::system(15, QFont::DemiBold));
        setTextColor(heading, Palette::cardTitle());
        add(heading);
    }
}

// A row's slot already holds half the spacing above and below its value box.
void GlassCard::spaceBefore(bool row)
{
    if (!empty_)
        column_->addSpacing(kCardSpacing - (lastWasRow_ ? kRowSlotPadding : 0) - (row ? kRowSlotPadding : 0));
    empty_ = false;
    lastWasRow_ = row;
}

void GlassCard::add(QWidget* widget)
{
    spaceBefore(qobject_cast<CardRow*>(widget) != nullptr);
    column_->addWidget(widget);
}

void GlassCard::add(QLayout* layout)
{
    spaceBefore(false);
    column_->addLayout(layout);
}

InfoRow* GlassCard::addRow(const QString& label, std::string_view value, bool monospaced, ValueLayout layout)
{
    InfoRow* row = InfoRow::create(label, value, monospaced, nullptr, layout);
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

WrappingText* GlassCard::addHardwareText(const QString& text, const QColor& color, const QFont& font)
{
    auto* paragraph = new WrappingText(text, font, color);
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

// Whole pixels that hold the whole text: eliding measures the fractional width,
// which a rounded advance can fall short of by a pixel.
int pillTextWidth(const QString& text)
{
    return static_cast<int>(std::ceil(QFontMetricsF(pillFont()).horizontalAdvance(text)));
}
} // namespace

Pill::Pill(const QString& text, QWidget* parent) : QWidget(parent), text_(text)
{
    setFont(pillFont());
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}

QSize Pill::sizeHint() const
{
    return {pillTextWidth(text_) + 2 * 10, QFontMetrics(pillFont()).height() + 2 * 6};
}

QSize Pill::minimumSizeHint() const
{
    const QFontMetrics metrics(pillFont());
    return {std::min(sizeHint().width(), metrics.horizontalAdvance(QStringLiteral("M\u2026")) + 2 * 10),
            sizeHint().height()};
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
    painter.drawText(rect(), Qt::AlignCenter, shownText());
}

QString Pill::shownText() const
{
    const int room = std::max(0, width() - 2 * 10);
    return room >= pillTextWidth(text_) ? text_ : QFontMetrics(pillFont()).elidedText(text_, Qt::ElideRight, room);
}

void Pill::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    setToolTip(shownText() == text_ ? QString() : text_);
}

// SectionHeader

SectionHeader::SectionHeader(const QString& title, const QString& subtitle, QWidget* parent)
    : QWidget(parent),
      title_(makeLabel(title, Fonts::system(25, QFont::Bold), Palette::metalText())),
      subtitle_(makeParagraph(subtitle, Fonts::system(Fonts::kBody), Palette::metalMuted(), false))
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

void styleScrollBar(QScrollBar* bar)
{
    bar->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 12px; margin: 6px 3px 6px 0; }"
        "QScrollBar::handle:vertical { background: rgba(255, 255, 255, 46); border-radius: 4px; min-height: 32px; }"
        "QScrollBar::handle:vertical:hover { background: rgba(255, 255, 255, 72); }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }"));
}

namespace {

// Keeps an overlay scroll bar on the right edge of its scroll area.
class OverlayPlacement : public QObject {
public:
    OverlayPlacement(QScrollArea& area, QScrollBar& bar) : QObject(&bar), area_(area), bar_(bar)
    {
        area.installEventFilter(this);
        place();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &area_ && event->type() == QEvent::Resize)
            place();
        return false;
    }

private:
    void place()
    {
        constexpr int width = 12;
        bar_.setGeometry(area_.width() - width, 0, width, area_.height());
        bar_.raise();
    }

    QScrollArea& area_;
    QScrollBar& bar_;
};

} // namespace

QScrollBar* addOverlayScrollBar(QScrollArea& area)
{
    // The area's own bar stays hidden but keeps the range and the position.
    area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QScrollBar* inner = area.verticalScrollBar();
    auto* bar = new QScrollBar(Qt::Vertical, &area);
    styleScrollBar(bar);
    const auto follow = [inner, bar] {
        bar->setRange(inner->minimum(), inner->maximum());
        bar->setPageStep(inner->pageStep());
        bar->setSingleStep(inner->singleStep());
        bar->setValue(inner->value());
        bar->setVisible(inner->maximum() > inner->minimum());
    };
    QObject::connect(inner, &QScrollBar::rangeChanged, bar, follow);
    QObject::connect(inner, &QScrollBar::valueChanged, bar, &QScrollBar::setValue);
    QObject::connect(bar, &QScrollBar::valueChanged, inner, &QScrollBar::setValue);
    new OverlayPlacement(area, *bar);
    follow();
    return bar;
}

// MetalWindowBackground

MetalWindowBackground::MetalWindowBackground(QWidget* parent) : QWidget(parent) {}

void MetalWindowBackground::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintMetalWindowBackground(painter, rect());
}

} // namespace veltrin
