#pragma once

#include <QLabel>

class QMenu;

namespace veltrin {

// One line, truncated in the middle when too narrow, selectable. It asks for no
// width of its own, so a long value never widens its card. Shortening is for the
// eye only: copying (keys, context menu, the selection of X11) takes the full
// value whenever the line shows less than all of it, and the tooltip shows it.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(const QString& text = {}, QWidget* parent = nullptr);
    void setFullText(const QString& text);
    QString fullText() const { return fullText_; }
    bool isElided() const { return text() != fullText_; }
    // What a copy takes: the full value while shortened, else the selection, else all.
    QString copiedText() const;
    // The context menu: Copy (as above) and Select All.
    QMenu* makeContextMenu();
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void elide();
    QString fullText_;
};

} // namespace veltrin
