#pragma once

#include "ui/card_row.h"
#include "ui/value_box.h"

#include <QLabel>

#include <string_view>

namespace veltrin {

// A label and its value. A value the placeholder rule hides makes no row at all:
// create() then returns nullptr and nothing takes space.
class InfoRow : public CardRow {
    Q_OBJECT
public:
    static InfoRow* create(const QString& label, std::string_view value, bool monospaced = false,
                           QWidget* parent = nullptr, ValueLayout layout = ValueLayout::lines);
    QString label() const { return label_->text(); }
    QString value() const { return value_->text(); }
    bool wrapsValue() const override { return value_->valueLayout() == ValueLayout::wrapped; }

private:
    InfoRow(const QString& label, const QString& value, bool monospaced, ValueLayout layout, QWidget* parent);
    QLabel* label_;
    ValueBox* value_;
};

} // namespace veltrin
