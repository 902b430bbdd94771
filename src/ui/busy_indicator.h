#pragma once

#include <QWidget>

class QVariantAnimation;

namespace veltrin {

// The small spinning indicator shown while a refresh runs.
class BusyIndicator : public QWidget {
    Q_OBJECT
public:
    explicit BusyIndicator(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {18, 18}; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QVariantAnimation* spin_;
    qreal angle_ = 0;
};

} // namespace veltrin
