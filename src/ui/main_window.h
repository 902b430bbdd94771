#pragma once

// The main window's content: top bar, tab bar, the selected tab in a scroll
// area, and the status bar, on one translucent panel over the metal background.
// It owns the tab selection and nothing else; hardware data comes from the store.

#include "core/records.h"
#include "ui/app_tab.h"
#include "ui/app_links.h"
#include "ui/busy_indicator.h"
#include "ui/metal_button.h"
#include "ui/metal_window_background.h"
#include "ui/tab_button.h"
#include "ui/theme.h"

#include <QFuture>
#include <QKeySequence>

#include <cstddef>
#include <string>
#include <vector>

class QLabel;
class QScrollArea;
class QTimer;

namespace veltrin {

class ElidedLabel;
class SystemInfoStore;
class Updater;

// The status bar's model: "Name (Identifier)", either one alone, or the physical
// board model when macOS names no model.
std::string statusModelText(const MainboardInfo& mainboard);

// The shortcut of the tab at `index` in the bar: Command-1 … Command-9 (Ctrl on
// other systems) for the first nine, Command-0 for a tenth, none past it.
QKeySequence tabShortcut(std::size_t index);

class MainWindowView : public MetalWindowBackground {
    Q_OBJECT
public:
    // `updater` may be null: this build then has none.
    MainWindowView(SystemInfoStore& store, AppLinks links, Updater* updater, QWidget* parent = nullptr);

    AppTab selection() const { return selection_; }
    // Switches tabs at once (nothing animates); the selected tab again changes nothing.
    void selectTab(AppTab tab);
    QWidget* currentTabView() const;
    TabButton* tabButton(AppTab tab) const;

    // The refresh started when the view was first shown; a finished future before that.
    QFuture<void> startupRefresh() const { return startupRefresh_; }

    // The history read started when the view was first shown; a finished future before that.
    QFuture<void> startupHistory() const { return startupHistory_; }

    // Copies the summary and says so in the status bar for two seconds.
    void copySummary();

    MetalButton* refreshButton() const { return refresh_; }
    MetalButton* copyButton() const { return copy_; }
    MetalButton* donateButton() const { return donate_; }
    BusyIndicator* busyIndicator() const { return busy_; }
    QScrollArea* contentArea() const { return content_; }
    QString statusText() const;
    // "macOS:" beside a Mac's version, "OS:" beside any other system's name.
    QString osLabelText() const;
    QString osText() const;
    QString modelText() const;

    static constexpr int kMinimumWidth = 1120;
    static constexpr int kMinimumHeight = 690;
    static constexpr int kNoticeMilliseconds = 2000;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* makeTopBar();
    QWidget* makeTabBar();
    QWidget* makeStatusBar();
    void addTabShortcuts();
    void stepTab(TabButton* from, int step);
    void showNotice(const QString& notice);
    void render();

    SystemInfoStore& store_;
    AppLinks links_;
    Updater* updater_;
    AppTab selection_ = AppTab::cpu;
    QFuture<void> startupRefresh_;
    QFuture<void> startupHistory_;
    bool shownBefore_ = false;
    QString notice_;
    QTimer* noticeTimer_ = nullptr;

    QWidget* panel_ = nullptr;
    QScrollArea* content_ = nullptr;
    std::vector<TabButton*> tabButtons_;
    MetalButton* refresh_ = nullptr;
    MetalButton* copy_ = nullptr;
    MetalButton* donate_ = nullptr;
    BusyIndicator* busy_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* osLabel_ = nullptr;
    ElidedLabel* os_ = nullptr;
    ElidedLabel* model_ = nullptr;
    SoftShadow panelShadow_;
};

} // namespace veltrin
