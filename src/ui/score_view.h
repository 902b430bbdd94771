#pragma once

#include <QWidget>

#include <cstdint>
#include <string>

class QLabel;

namespace veltrin {

// One score tile: "—" for a score of 0, and the detail line only when it is not a placeholder.
class ScoreView : public QWidget {
    Q_OBJECT
public:
    ScoreView(const QString& title, std::int64_t score, const std::string& detail, QWidget* parent = nullptr);
    QString title() const;
    QString scoreText() const;
    // Empty when the tile has no detail line.
    QString detail() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* title_;
    QLabel* score_;
    QLabel* detail_ = nullptr;
};

} // namespace veltrin
