#include "ui/sensitive_info_row.h"

#include "core/placeholder_rule.h"
#include "core/unicode_text.h"
#include "ui/labels.h"
#include "ui/theme.h"

#include <QHBoxLayout>

#include <algorithm>
#include <utility>

namespace veltrin {

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

} // namespace veltrin
