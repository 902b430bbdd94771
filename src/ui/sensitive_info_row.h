#pragma once

#include "ui/binding.h"
#include "ui/card_row.h"
#include "ui/metal_button.h"
#include "ui/value_box.h"

#include <QLabel>

#include <string>
#include <string_view>

namespace veltrin {

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

} // namespace veltrin
