#include "ui/score_view.h"

#include "core/placeholder_rule.h"
#include "ui/elided_label.h"
#include "ui/labels.h"
#include "ui/theme.h"

#include <QPainter>
#include <QVBoxLayout>

namespace veltrin {
namespace {

const QString kDash = QStringLiteral("\u2014");

} // namespace

ScoreView::ScoreView(const QString& title, std::int64_t score, const std::string& detail, QWidget* parent)
    : QWidget(parent),
      title_(makeLabel(title, Fonts::system(Fonts::kBody), Palette::metalMuted())),
      score_(makeLabel(score == 0 ? kDash : QString::number(score), Fonts::system(34, QFont::Bold), Palette::metalText()))
{
    setFixedWidth(210);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(6);
    column->addWidget(title_);
    column->addWidget(score_);
    if (!veltrinShouldHideField(detail)) {
        auto* line = new ElidedLabel(QString::fromStdString(detail));
        line->setTextInteractionFlags(Qt::NoTextInteraction);
        line->setCursor(Qt::ArrowCursor);
        line->setFont(Fonts::system(Fonts::kCaption));
        QPalette palette = line->palette();
        palette.setColor(QPalette::WindowText, Palette::metalMuted());
        line->setPalette(palette);
        detail_ = line;
        column->addWidget(detail_);
    }
}

QString ScoreView::title() const { return title_->text(); }
QString ScoreView::scoreText() const { return score_->text(); }
QString ScoreView::detail() const
{
    return detail_ == nullptr ? QString() : static_cast<const ElidedLabel*>(detail_)->fullText();
}

void ScoreView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Palette::white(0.12), 1));
    painter.setBrush(Palette::white(0.07));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 16, 16);
}

} // namespace veltrin
