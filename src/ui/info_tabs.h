#pragma once

// The Bench, About and Help tabs. Bench reads the store's benchmark result; About
// and Help show fixed texts (the About and Help windows show the same views).

#include "ui/app_links.h"
#include "ui/tab_page.h"

namespace veltrin {

class MetalButton;
class Updater;

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
    // Without an updater the tips say why updates cannot be checked.
    explicit HelpTabView(Updater* updater, QWidget* parent = nullptr);

protected:
    void build(QVBoxLayout& column) override;

private:
    Updater* updater_;
};

} // namespace veltrin
