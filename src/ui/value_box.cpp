#include "ui/value_box.h"

#include "ui/card_row.h"
#include "ui/elided_label.h"
#include "ui/labels.h"
#include "ui/theme.h"

#include <QPainter>
#include <QVBoxLayout>

namespace veltrin {

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

} // namespace veltrin
