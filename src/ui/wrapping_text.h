#pragma once

#include <QTextEdit>

namespace veltrin {

// A selectable paragraph of hardware text (feature flags, detection notes). It
// wraps at word boundaries and, where one token is wider than the card, inside
// the token, so no value widens the page; every character stays on screen, so
// a selection copies exactly what it covers.
class WrappingText : public QTextEdit {
    Q_OBJECT
public:
    WrappingText(const QString& text, const QFont& font, const QColor& color, QWidget* parent = nullptr);
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace veltrin
