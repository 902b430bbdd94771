#pragma once

// The Bench, About and Help tabs. Bench reads the store's benchmark result; About
// and Help show fixed texts (the About and Help windows show the same views).

#include "ui/app_links.h"
#include "ui/tab_page.h"

#include <cstdint>
#include <string>

class QLabel;

namespace veltrin {

class MetalButton;
class Updater;

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

class BenchTabView : public TabPageView {
    Q_OBJECT
public:
    explicit BenchTabView(SystemInfoStore& store, QWidget* parent = nullptr);

protected:
    void build(QVBoxLayout& column) override;
};

class AboutTabView : public TabPageView {
    Q_OBJECT
public:
    // Without an updater the update button is left out and no update mechanism is claimed.
    AboutTabView(AppLinks links, Updater* updater, QWidget* parent = nullptr);

protected:
    void build(QVBoxLayout& column) override;

private:
    AppLinks links_;
    Updater* updater_;
};

class HelpTabView : public TabPageView {
    Q_OBJECT
public:
    explicit HelpTabView(QWidget* parent = nullptr);

protected:
    void build(QVBoxLayout& column) override;
};

} // namespace veltrin
