#include "ui/card_row.h"

#include "ui/labels.h"
#include "ui/theme.h"

#include <QHBoxLayout>

namespace veltrin {

namespace {

constexpr int kRowLabelWidth = 155;
constexpr int kRowSpacing = 12;

} // namespace

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

} // namespace veltrin
