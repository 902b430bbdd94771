#include "ui/glass_card.h"

#include "ui/card_row.h"
#include "ui/elided_label.h"
#include "ui/labels.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace veltrin {

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
    // Outside the spacing of added content: the first addition takes its place.
    nothingReported_ = makeParagraph(QString::fromUtf8(kNothingReported), Fonts::system(Fonts::kBody),
                                     Palette::metalMuted(), false);
    nothingReported_->setContentsMargins(0, empty_ ? 0 : kCardSpacing, 0, 0);
    column_->addWidget(nothingReported_);
}

void GlassCard::dropNothingReported()
{
    delete nothingReported_;
    nothingReported_ = nullptr;
}

int GlassCard::unshortenedWidth() const
{
    int widest = 0;
    for (const CardRow* row : findChildren<CardRow*>(Qt::FindDirectChildrenOnly))
        if (!row->wrapsValue())
            widest = std::max(widest, row->sizeHint().width());
    const QMargins margins = column_->contentsMargins();
    return widest + margins.left() + margins.right();
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
    dropNothingReported();
    spaceBefore(qobject_cast<CardRow*>(widget) != nullptr);
    column_->addWidget(widget);
}

void GlassCard::add(QLayout* layout)
{
    dropNothingReported();
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

} // namespace veltrin
