#pragma once

#include <QWidget>

namespace veltrin {

// The window background of every window.
class MetalWindowBackground : public QWidget {
    Q_OBJECT
public:
    explicit MetalWindowBackground(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace veltrin
