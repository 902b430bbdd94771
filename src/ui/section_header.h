#pragma once

#include <QLabel>
#include <QWidget>

namespace veltrin {

class SectionHeader : public QWidget {
    Q_OBJECT
public:
    SectionHeader(const QString& title, const QString& subtitle, QWidget* parent = nullptr);
    QString title() const { return title_->text(); }
    QString subtitle() const { return subtitle_->text(); }

private:
    QLabel* title_;
    QLabel* subtitle_;
};

} // namespace veltrin
