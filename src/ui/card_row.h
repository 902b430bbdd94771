#pragma once

#include <QWidget>

class QHBoxLayout;
class QLabel;

namespace veltrin {

// Every row of a card takes one slot of the same height: the value box (or the
// Show/Hide button) centred in it, so rows follow each other at an even pitch.
class CardRow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSlotHeight = 44;
    static constexpr int kValueBoxHeight = 32;

    // True when the value wraps onto more lines rather than shortening: then
    // no width is too narrow for it.
    virtual bool wrapsValue() const { return false; }

protected:
    explicit CardRow(QWidget* parent) : QWidget(parent) {}
};

// A row's label: a fixed column, as tall as a one-line value box.
QLabel* rowLabel(const QString& text);
// The row's line of label, value and button, padded to its slot.
QHBoxLayout* rowLayout(QWidget* row, int verticalPadding);

} // namespace veltrin
