#pragma once

#include <QString>
#include <QWidget>

namespace veltrin {

// A capsule badge. Pills show their text as it is; no placeholder rule applies.
// Squeezed, a pill shortens its text at the end rather than widen the page.
// A copyable pill puts its whole text on the clipboard when clicked, however
// much of it shows.
class Pill : public QWidget {
    Q_OBJECT
public:
    explicit Pill(const QString& text, QWidget* parent = nullptr);
    QString text() const { return text_; }
    void setCopyable(bool copyable);
    bool isCopyable() const { return copyable_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString shownText() const;
    void updateToolTip();
    QString text_;
    bool copyable_ = false;
};

} // namespace veltrin
