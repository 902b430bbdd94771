#include "state/system_info_store.h"
#include "ui/desktop_application.h"
#include "ui/main_window.h"
#include "ui/updater.h"
#include "ui/window_memory.h"

#include "ui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>

using namespace veltrin;
using namespace veltrin::testing;

namespace {

class CountingUpdater : public Updater {
public:
    explicit CountingUpdater(int& checks) : checks_(checks) {}
    std::string description() const override { return "Counting updater"; }
    void checkForUpdates() override { ++checks_; }

private:
    int& checks_;
};

struct HeldCollection {
    Gate gate;
    std::atomic<int> collections{0};
};

class DesktopApplication : public ::testing::Test {
protected:
    ~DesktopApplication() override { held_->gate.release(100); }

    std::unique_ptr<VeltrinApp> makeApp(std::unique_ptr<Updater> updater = nullptr)
    {
        return std::make_unique<VeltrinApp>(
            [held = held_] {
                ++held->collections;
                held->gate.pass();
                return SystemSnapshot{};
            },
            noBenchmark(), std::move(updater), AppLinks{});
    }

    std::shared_ptr<HeldCollection> held_ = std::make_shared<HeldCollection>();
};

QList<QWidget*> visibleWindowsTitled(const QString& title)
{
    QList<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == title)
            windows << widget;
    return windows;
}

TEST_F(DesktopApplication, AboutAndHelpOpenOnceEach)
{
    auto app = makeApp();
    struct Case {
        QAction* command;
        QString title;
        QSize size;
    };
    const Case cases[] = {{app->commands().about, QStringLiteral("About Veltrin"), QSize(760, 560)},
                          {app->commands().help, QStringLiteral("Veltrin Help"), QSize(860, 620)}};
    for (const Case& c : cases) {
        c.command->trigger();
        c.command->trigger();
        const QList<QWidget*> windows = visibleWindowsTitled(c.title);
        ASSERT_EQ(windows.size(), 1) << c.title.toStdString();
        EXPECT_EQ(windows.front()->size(), c.size);
        EXPECT_EQ(windows.front()->minimumSize(), c.size);
        EXPECT_EQ(windows.front()->maximumSize(), c.size);
    }
    // Closed, the window goes; the command opens a new one.
    visibleWindowsTitled(QStringLiteral("About Veltrin")).front()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(visibleWindowsTitled(QStringLiteral("About Veltrin")).isEmpty());
    app->commands().about->trigger();
    EXPECT_EQ(visibleWindowsTitled(QStringLiteral("About Veltrin")).size(), 1);
}

TEST_F(DesktopApplication, TheLastWindowToCloseEndsTheApplication)
{
    auto app = makeApp();
    app->showMainWindow();
    QWidget* help = app->showHelpWindow();
    bool runningWithHelpOpen = false;
    QTimer::singleShot(0, app.get(), [&] { app->mainWindow().close(); });
    QTimer::singleShot(50, app.get(), [&] {
        runningWithHelpOpen = true;
        help->close();
    });
    QTimer::singleShot(10000, app.get(), [] { QCoreApplication::exit(2); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(runningWithHelpOpen) << "closing the main window alone ended the application";
}

TEST_F(DesktopApplication, MenusCarryTheCommandsAndTheirShortcuts)
{
    auto app = makeApp();
    QStringList menus;
    for (QAction* menu : app->mainWindow().menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"Veltrin", "File", "Tools", "Help"}));

    const VeltrinCommands& commands = app->commands();
    struct Case {
        QAction* action;
        QString title;
        QKeySequence shortcut;
    };
    const Case cases[] = {
        {commands.about, QStringLiteral("About Veltrin"), {}},
        {commands.checkForUpdates, QStringLiteral("Check for Updates\u2026"), {}},
        {commands.refresh, QStringLiteral("Refresh"), QKeySequence(Qt::CTRL | Qt::Key_R)},
        {commands.copySummary, QStringLiteral("Copy Summary"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
        {commands.help, QStringLiteral("Veltrin Help"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Slash)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.action->text(), c.title);
        EXPECT_EQ(c.action->shortcut(), c.shortcut) << c.title.toStdString();
    }
}

TEST_F(DesktopApplication, CheckForUpdatesNeedsAnUpdater)
{
    auto without = makeApp();
    EXPECT_FALSE(without->commands().checkForUpdates->isEnabled());

    int checks = 0;
    auto with = makeApp(std::make_unique<CountingUpdater>(checks));
    EXPECT_TRUE(with->commands().checkForUpdates->isEnabled());
    with->commands().checkForUpdates->trigger();
    EXPECT_EQ(checks, 1);
}

TEST_F(DesktopApplication, RefreshDuringARefreshChangesNothing)
{
    auto app = makeApp();
    app->showMainWindow();
    ASSERT_TRUE(held_->gate.waitForArrivals(1));
    app->commands().refresh->trigger();
    app->commands().refresh->trigger();
    EXPECT_EQ(held_->collections, 1);
    held_->gate.release();
    ASSERT_TRUE(waitUntil([&] { return !app->store().isRefreshing(); }));
    app->commands().refresh->trigger();
    ASSERT_TRUE(held_->gate.waitForArrivals(2));
    EXPECT_EQ(held_->collections, 2);
}

TEST_F(DesktopApplication, CopySummaryCopiesTheInitialSummaryBeforeTheFirstRefresh)
{
    auto app = makeApp();
    QGuiApplication::clipboard()->setText(QStringLiteral("old"));
    app->commands().copySummary->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromStdString(app->store().summaryText()));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().endsWith(QStringLiteral("\nGPU: ")));
}

TEST(MainWindowPlacement, OpensAsLeftInsideTheScreenAndLargerTheFirstTime)
{
    const QRect screen(0, 25, 2560, 1415);
    const QSize minimum(1120, 690);
    struct Case {
        const char* name;
        std::optional<QRect> saved;
        QRect available;
        QRect placed;
    };
    const Case cases[] = {
        {"first launch on a large screen", std::nullopt, screen, QRect(590, 303, 1380, 860)},
        {"first launch on a 1280 x 800 screen", std::nullopt, QRect(0, 0, 1280, 800), QRect(0, 0, 1280, 800)},
        {"first launch on a screen below the minimum", std::nullopt, QRect(0, 0, 1024, 600), QRect(0, 0, 1120, 690)},
        {"as it was left", QRect(100, 200, 1500, 900), screen, QRect(100, 200, 1500, 900)},
        {"left partly off the right edge", QRect(2000, 200, 1500, 900), screen, QRect(1060, 200, 1500, 900)},
        {"left larger than this screen", QRect(-50, 0, 3000, 2000), screen, QRect(0, 25, 2560, 1415)},
        {"saved below the minimum", QRect(10, 40, 800, 500), screen, QRect(10, 40, 1120, 690)},
    };
    for (const Case& c : cases) {
        const QRect placed = mainWindowPlacement(c.saved, c.available, minimum);
        EXPECT_EQ(placed, c.placed) << c.name << ": " << placed.x() << ',' << placed.y() << ' ' << placed.width()
                                    << 'x' << placed.height();
    }
}

class WindowMemory : public DesktopApplication {
protected:
    void SetUp() override { QSettings().clear(); }
    void TearDown() override { QSettings().clear(); }
};

TEST_F(WindowMemory, TheNextLaunchOpensOnTheTabAndInTheFrameTheWindowWasLeftIn)
{
    QRect left;
    {
        auto first = makeApp();
        first->showMainWindow();
        EXPECT_EQ(first->mainView().selection(), AppTab::cpu);
        first->mainView().selectTab(AppTab::memory);
        left = first->mainWindow().geometry();
        first->mainWindow().close();
    }
    EXPECT_TRUE(QSettings().contains(QStringLiteral("mainWindow/geometry")));
    auto second = makeApp();
    second->showMainWindow();
    EXPECT_EQ(second->mainView().selection(), AppTab::memory);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(second->mainWindow().size(),
              mainWindowPlacement(left, available, second->mainWindow().minimumSizeHint()).size());
}

} // namespace
