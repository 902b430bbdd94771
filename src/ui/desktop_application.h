#pragma once

// The application shell: one store, one optional updater, the main window with
// its menu commands, and the About and Help windows, each opened at most once.

#include "state/report.h"
#include "state/system_info_store.h"
#include "ui/app_links.h"
#include "ui/platform.h"
#include "ui/updater.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>
#include <string>

class QAction;
class QApplication;
class QMainWindow;
class QMenuBar;

namespace veltrin {

class MainWindowView;
class ReportCommands;
class VeltrinApp;

// The menu commands, each with at most one shortcut: on a Mac "About Veltrin",
// "Check for Updates…" and Quit in the application menu; elsewhere Quit in File
// and About and Check for Updates in Help; everywhere "File" with the report's
// export and the comparison, "Tools" with Refresh, Copy Summary and Copy Report,
// and "Veltrin Help".
class VeltrinCommands : public QObject {
    Q_OBJECT
public:
    explicit VeltrinCommands(VeltrinApp& app, Platform platform = buildPlatform());
    void install(QMenuBar& menuBar) const;

    QAction* about;
    QAction* checkForUpdates;
    QAction* refresh;
    QAction* copySummary;
    QAction* help;
    QAction* quit;
    ReportCommands* reports;

private:
    Platform platform_;
};

class VeltrinApp : public QObject {
    Q_OBJECT
public:
    // `updater` may be null: "Check for Updates…" is then present but disabled.
    // `source` says where the snapshots come from, as a report names it (reportSource).
    VeltrinApp(SystemInfoStore::Collector collect, SystemInfoStore::BenchmarkRunner benchmark,
               std::unique_ptr<Updater> updater, AppLinks links, SystemInfoStore::HistoryReader readHistory = {},
               std::string source = reportSource(std::nullopt));
    ~VeltrinApp() override;

    SystemInfoStore& store() { return store_; }
    Updater* updater() const { return updater_.get(); }
    QMainWindow& mainWindow() const { return *mainWindow_; }
    MainWindowView& mainView() const { return *mainView_; }
    VeltrinCommands& commands() const { return *commands_; }
    const std::string& source() const { return source_; }

    // Opens the main window, the first time where it was left and on its tab.
    void showMainWindow();
    // Opens the window, or brings the open one forward. A new one opens centred
    // on the main window; Esc and Command/Ctrl-W close it.
    QWidget* showAboutWindow();
    QWidget* showHelpWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rememberWindow() const;

    std::unique_ptr<Updater> updater_;
    SystemInfoStore store_; // outlives every window that reads it
    AppLinks links_;
    std::string source_;
    std::unique_ptr<QMainWindow> mainWindow_;
    MainWindowView* mainView_;
    std::unique_ptr<QMenuBar> sharedMenuBar_; // macOS: one menu bar for every window
    VeltrinCommands* commands_;
    QPointer<QWidget> about_;
    QPointer<QWidget> help_;
    bool remembersWindow_ = false; // only a window that was shown, never a screenshot run
};

// The dark scheme for what the platform draws itself: menus, scroll bars,
// dialogs; a disabled menu item is drawn dimmed.
void applyDarkScheme(QApplication& application);

// True when a window can be shown: always on macOS and Windows; elsewhere when
// DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM names one.
bool desktopAvailable();

// Runs the desktop application until its last window closes. With a screenshots
// directory it renders instead, off screen at 1120 × 690, every tab after the
// first refresh to DIR/<tab id>.png (and a page taller than the window once more,
// scrolled to its end, to DIR/<tab id>-end.png), and returns (0, or 1 when a file
// cannot be written).
int runDesktopApplication(int argc, char** argv, SystemInfoStore::Collector collect,
                          SystemInfoStore::BenchmarkRunner benchmark, SystemInfoStore::HistoryReader readHistory,
                          std::optional<std::string> screenshotsDirectory, std::string source);

} // namespace veltrin
