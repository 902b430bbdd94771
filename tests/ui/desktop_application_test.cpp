#include "state/system_info_store.h"
#include "ui/desktop_application.h"
#include "ui/main_window.h"
#include "ui/platform_texts.h"
#include "ui/updater.h"
#include "ui/window_memory.h"

#include "ui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QStyleFactory>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

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

QStringList titlesOf(const QList<QAction*>& actions)
{
    QStringList titles;
    for (const QAction* action : actions)
        if (!action->isSeparator())
            titles << action->text();
    return titles;
}

// A Mac's menus hold About, Check for Updates and Quit in the application menu
// (Qt moves them there by their roles); elsewhere File holds Quit and Help the rest.
TEST_F(DesktopApplication, MenusFollowEachPlatformsConvention)
{
    auto app = makeApp();
    struct Case {
        Platform platform;
        QStringList menus;
        QStringList first;
        QStringList help;
        QString quit;
    };
    const Case cases[] = {
        {Platform::mac, {"Veltrin", "File", "Tools", "Help"}, {"About Veltrin", "Check for Updates\u2026", "Quit Veltrin"},
         {"Veltrin Help"}, QStringLiteral("Quit Veltrin")},
        {Platform::other, {"File", "Tools", "Help"}, {"Export Report\u2026", "Compare with Capture\u2026", "Quit"},
         {"Veltrin Help", "Check for Updates\u2026", "About Veltrin"}, QStringLiteral("Quit")},
    };
    for (const Case& c : cases) {
        const VeltrinCommands commands(*app, c.platform);
        QMenuBar bar;
        commands.install(bar);
        const QList<QAction*> menus = bar.actions();
        EXPECT_EQ(titlesOf(menus), c.menus);
        EXPECT_EQ(titlesOf(menus.front()->menu()->actions()), c.first);
        EXPECT_EQ(titlesOf(menus.back()->menu()->actions()), c.help);
        EXPECT_EQ(titlesOf(menus[menus.size() - 2]->menu()->actions()),
                  (QStringList{"Refresh", "Copy Summary", "Copy Report"}));
        EXPECT_EQ(titlesOf(menus[menus.size() - 3]->menu()->actions()).mid(0, 2),
                  (QStringList{"Export Report\u2026", "Compare with Capture\u2026"}));
        EXPECT_EQ(commands.quit->text(), c.quit);
        EXPECT_EQ(commands.quit->menuRole(), QAction::QuitRole);
        EXPECT_EQ(commands.about->menuRole(), QAction::AboutRole);
    }
    // The window of this build carries this build's menus.
    EXPECT_EQ(titlesOf(app->mainWindow().menuBar()->actions()),
              buildPlatform() == Platform::mac ? QStringList{} : cases[1].menus);
}

// One shortcut per command: a second spelling of the same keystroke ("?" beside
// Shift-/) made Qt report an ambiguous shortcut and open nothing.
TEST_F(DesktopApplication, EachCommandHasOneShortcutOfItsOwn)
{
    auto app = makeApp();
    const VeltrinCommands& commands = app->commands();
    const std::pair<QAction*, QKeySequence> cases[] = {
        {commands.about, {}},
        {commands.checkForUpdates, {}},
        {commands.refresh, QKeySequence(Qt::CTRL | Qt::Key_R)},
        {commands.copySummary, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
        {commands.help, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Slash)},
        {commands.quit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
    };
    for (const auto& [action, shortcut] : cases) {
        EXPECT_EQ(action->shortcuts(), shortcut.isEmpty() ? QList<QKeySequence>{} : QList<QKeySequence>{shortcut})
            << action->text().toStdString();
    }
}

// Qt warns through its message handler when a keystroke matches more than one shortcut.
class QtWarnings {
public:
    QtWarnings() { previous_ = qInstallMessageHandler(&QtWarnings::keep); }
    ~QtWarnings() { qInstallMessageHandler(previous_); }
    static QStringList& kept()
    {
        static QStringList messages;
        return messages;
    }

private:
    static void keep(QtMsgType, const QMessageLogContext&, const QString& message) { kept() << message; }
    QtMessageHandler previous_;
};

TEST_F(DesktopApplication, HelpsShortcutOpensHelpAndQuitEndsTheApplication)
{
    auto app = makeApp();
    app->showMainWindow();
    app->mainWindow().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&app->mainWindow()));
    const QtWarnings warnings;
    QtWarnings::kept().clear();
    QTest::keyClick(&app->mainWindow(), Qt::Key_Slash, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(visibleWindowsTitled(QStringLiteral("Veltrin Help")).size(), 1);
    EXPECT_FALSE(QtWarnings::kept().join(QLatin1Char('\n')).contains(QStringLiteral("Ambiguous")))
        << QtWarnings::kept().join(QLatin1Char('\n')).toStdString();

    // Ctrl+Q (Command-Q) closes every window, and with the last one the application ends.
    QTimer::singleShot(0, app.get(), [&] {
        QTest::keyClick(QApplication::activeWindow(), Qt::Key_Q, Qt::ControlModifier);
    });
    QTimer::singleShot(10000, app.get(), [] { QCoreApplication::exit(2); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(visibleWindowsTitled(QStringLiteral("Veltrin Help")).isEmpty());
    EXPECT_FALSE(app->mainWindow().isVisible());
}

// About and Help open centred on the main window; Esc and Command/Ctrl-W close them.
TEST_F(DesktopApplication, SecondaryWindowsOpenCentredAndCloseWithEscOrCtrlW)
{
    auto app = makeApp();
    app->showMainWindow();
    // Larger than the test's screen: the windows stop at its edges.
    app->mainWindow().setGeometry(100, 80, 1300, 800);
    const std::pair<QKeySequence, QWidget* (VeltrinApp::*)()> cases[] = {
        {QKeySequence(Qt::Key_Escape), &VeltrinApp::showAboutWindow},
        {QKeySequence(Qt::CTRL | Qt::Key_W), &VeltrinApp::showAboutWindow},
        {QKeySequence(Qt::Key_Escape), &VeltrinApp::showHelpWindow},
        {QKeySequence(Qt::CTRL | Qt::Key_W), &VeltrinApp::showHelpWindow},
    };
    for (const auto& [keys, show] : cases) {
        QWidget* window = ((*app).*show)();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        // Centred on the main window along each axis, unless that crosses an edge
        // of the screen: then at that edge.
        const QRect frame = window->frameGeometry();
        const QRect area = window->screen()->availableGeometry();
        const QPoint off = frame.center() - app->mainWindow().frameGeometry().center();
        const auto placed = [](int offset, int start, int end, int areaStart, int areaEnd) {
            if (start - offset >= areaStart && end - offset <= areaEnd)
                return std::abs(offset) <= 1;
            return end - offset > areaEnd ? end == areaEnd || start == areaStart : start == areaStart;
        };
        EXPECT_TRUE(placed(off.x(), frame.left(), frame.right(), area.left(), area.right()))
            << window->windowTitle().toStdString();
        EXPECT_TRUE(placed(off.y(), frame.top(), frame.bottom(), area.top(), area.bottom()))
            << window->windowTitle().toStdString();
        QTest::keySequence(window, keys);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(visibleWindowsTitled(window->windowTitle()).isEmpty())
            << keys.toString().toStdString() << " left " << window->windowTitle().toStdString() << " open";
    }
}

TEST_F(DesktopApplication, CheckForUpdatesNeedsAnUpdaterAndSaysWhyWithoutOne)
{
    auto without = makeApp();
    EXPECT_FALSE(without->commands().checkForUpdates->isEnabled());
    EXPECT_EQ(without->commands().checkForUpdates->toolTip(),
              QString::fromUtf8(platformTexts(buildPlatform()).noUpdater));

    int checks = 0;
    auto with = makeApp(std::make_unique<CountingUpdater>(checks));
    EXPECT_TRUE(with->commands().checkForUpdates->isEnabled());
    with->commands().checkForUpdates->trigger();
    EXPECT_EQ(checks, 1);
}

// The brightest pixel of `area` in `image`, 0 to 255.
int brightest(const QImage& image, const QRect& area)
{
    int most = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            most = std::max(most, qGray(image.pixel(x, y)));
    return most;
}

// Under the application's dark scheme a disabled menu item is plainly dimmer than an enabled one.
TEST(DarkScheme, DrawsADisabledMenuItemDimmed)
{
    const QPalette palette = QApplication::palette();
    const QString style = QApplication::style()->name();
    applyDarkScheme(*qApp);
    QMenu menu;
    QAction* enabled = menu.addAction(QStringLiteral("Refresh"));
    QAction* disabled = menu.addAction(QStringLiteral("Check for Updates\u2026"));
    disabled->setEnabled(false);
    menu.ensurePolished();
    menu.adjustSize();
    const QImage image = menu.grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const auto pixels = [&](QAction* action) {
        const QRect area = menu.actionGeometry(action);
        return QRect(area.topLeft() * ratio, area.size() * ratio);
    };
    EXPECT_LT(brightest(image, pixels(disabled)), brightest(image, pixels(enabled)) * 6 / 10);
    QApplication::setStyle(QStyleFactory::create(style));
    QApplication::setPalette(palette);
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
