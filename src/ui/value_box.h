#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

#include <vector>

class QLabel;
class QVBoxLayout;

namespace veltrin {

class ElidedLabel;

// How a value box lays out its text.
enum class ValueLayout {
    lines,   // each line of the text on one line of its own, shortened in the middle
    wrapped, // one paragraph wrapped at word boundaries, never shortened
};

// The dark rounded box that holds a row's value.
class ValueBox : public QWidget {
    Q_OBJECT
public:
    ValueBox(const QString& text, bool monospaced, const QColor& outline, ValueLayout layout = ValueLayout::lines,
             QWidget* parent = nullptr);
    void setText(const QString& text);
    // The full text, lines joined by line feeds.
    QString text() const;
    ValueLayout valueLayout() const { return paragraph_ != nullptr ? ValueLayout::wrapped : ValueLayout::lines; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* column_;
    std::vector<ElidedLabel*> lines_;
    QLabel* paragraph_ = nullptr;
    QFont font_;
    QColor outline_;
};

} // namespace veltrin
