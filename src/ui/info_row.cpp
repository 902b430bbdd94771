#include "ui/info_row.h"

#include "core/placeholder_rule.h"
#include "ui/labels.h"
#include "ui/theme.h"

#include <QHBoxLayout>

namespace veltrin {

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

} // namespace veltrin
