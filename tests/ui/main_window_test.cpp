#include "state/system_info_store.h"
#include "ui/focus_ring.h"
#include "ui/hardware_tabs.h"
#include "ui/main_window.h"

#include "ui_test_support.h"
#include "url_catcher.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <optional>

using namespace veltrin;
using namespace veltrin::testing;

namespace {

TEST(AppTab, IsFoundOnlyByItsExactId)
{
    const std::pair<const char*, std::optional<AppTab>> cases[] = {
        {"cpu", AppTab::cpu},     {"caches", AppTab::caches}, {"mainboard", AppTab::mainboard},
        {"memory", AppTab::memory}, {"spd", AppTab::spd},       {"graphics", AppTab::graphics},
        {"bench", AppTab::bench}, {"about", AppTab::about},   {"help", AppTab::help},
        {"CPU", std::nullopt},    {"Cpu", std::nullopt},      {" cpu", std::nullopt},
        {"cpu ", std::nullopt},   {"", std::nullopt},         {"settings", std::nullopt},
    };
    for (const auto& [id, tab] : cases) {
        EXPECT_EQ(appTabFromId(id), tab) << id;
        if (tab) {
            EXPECT_EQ(appTabId(*tab), id);
        }
    }
}

TEST(StatusModelText, PrefersTheMacModelAndFallsBackToTheBoard)
{
    struct Case {
        const char* name;
        const char* identifier;
        const char* board;
        const char* expected;
    };
    const Case cases[] = {
        {"iMac", "iMac20,1", "Z490", "iMac (iMac20,1)"},
        {"  iMac Pro \n", " iMacPro1,1 ", "", "iMac Pro (iMacPro1,1)"},
        {"iMac", "", "Z490", "iMac"},
        {"", "Macmini9,1", "Z490", "Macmini9,1"},
        {"   ", "\t", " ROG STRIX Z490-E ", " ROG STRIX Z490-E "},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        MainboardInfo mainboard;
        mainboard.macModelName = c.name;
        mainboard.macModel = c.identifier;
        mainboard.model = c.board;
        EXPECT_EQ(statusModelText(mainboard), c.expected) << '"' << c.name << "\" \"" << c.identifier << '"';
    }
}

struct HeldCollection {
    Gate gate;
    SystemSnapshot snapshot;
};

class MainWindow : public ::testing::Test {
protected:
    MainWindow()
    {
        held_->snapshot.mainboard.os = "14.6.1 (23G93)";
        held_->snapshot.mainboard.macModelName = "iMac";
        held_->snapshot.mainboard.macModel = "iMac20,1";
        held_->snapshot.gpus = {GPUInfo{.name = "Radeon"}};
    }
    ~MainWindow() override { held_->gate.release(100); }

    std::shared_ptr<HeldCollection> held_ = std::make_shared<HeldCollection>();
    SystemInfoStore store_{[held = held_] {
                               held->gate.pass();
                               return held->snapshot;
                           },
                           noBenchmark()};
    MainWindowView view_{store_, AppLinks{.donation = QUrl(QStringLiteral("https://example.org/give"))}, nullptr};
};

TEST_F(MainWindow, StatusBarAndBusyIndicatorFollowTheRefresh)
{
    EXPECT_EQ(view_.statusText(), QStringLiteral("Ready"));
    view_.show();
    ASSERT_TRUE(store_.isRefreshing()) << "showing the window starts the first refresh";
    ASSERT_TRUE(waitUntil([&] { return view_.statusText() == QStringLiteral("Reading hardware\u2026"); }));
    EXPECT_TRUE(view_.busyIndicator()->isVisible());
    EXPECT_EQ(view_.modelText(), QString());

    held_->gate.release();
    ASSERT_TRUE(waitUntil([&] { return view_.statusText() == QStringLiteral("Ready"); }));
    EXPECT_FALSE(view_.busyIndicator()->isVisible());
    EXPECT_EQ(view_.osText(), QStringLiteral("14.6.1 (23G93)"));
    EXPECT_EQ(view_.modelText(), QStringLiteral("iMac (iMac20,1)"));
    EXPECT_TRUE(view_.startupRefresh().isFinished());

    // A second showing starts no second refresh; the Refresh button does.
    view_.hide();
    view_.show();
    EXPECT_FALSE(store_.isRefreshing());
    QTest::mouseClick(view_.refreshButton(), Qt::LeftButton);
    EXPECT_TRUE(store_.isRefreshing());
    ASSERT_TRUE(waitUntil([&] { return view_.busyIndicator()->isVisible(); }));
    held_->gate.release();
    ASSERT_TRUE(waitUntil([&] { return !view_.busyIndicator()->isVisible(); }));
}

TEST_F(MainWindow, ClickingTheSelectedTabChangesNothing)
{
    view_.show();
    EXPECT_EQ(view_.selection(), AppTab::cpu);
    QWidget* cpuView = view_.currentTabView();
    QTest::mouseClick(view_.tabButton(AppTab::cpu), Qt::LeftButton);
    EXPECT_EQ(view_.selection(), AppTab::cpu);
    EXPECT_EQ(view_.currentTabView(), cpuView);

    QTest::mouseClick(view_.tabButton(AppTab::memory), Qt::LeftButton);
    EXPECT_EQ(view_.selection(), AppTab::memory);
    EXPECT_NE(view_.currentTabView(), nullptr);
    for (const AppTabInfo& info : kAppTabs)
        EXPECT_EQ(view_.tabButton(info.tab)->isSelected(), info.tab == AppTab::memory) << info.id;
}

TEST_F(MainWindow, CopyPutsExactlyTheSummaryOnTheClipboard)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("something else"));
    for (int press = 0; press < 2; ++press) {
        QTest::mouseClick(view_.copyButton(), Qt::LeftButton);
        EXPECT_EQ(clipboard->text(), QString::fromStdString(store_.summaryText()));
    }
    EXPECT_TRUE(clipboard->text().startsWith(QStringLiteral("Veltrin Hardware Summary\nCPU: Unknown\n")));
}

TEST_F(MainWindow, CopySaysSoInTheStatusBarForTwoSeconds)
{
    view_.show();
    held_->gate.release();
    ASSERT_TRUE(waitUntil([&] { return view_.statusText() == QStringLiteral("Ready"); }));
    QElapsedTimer shown;
    QTest::mouseClick(view_.copyButton(), Qt::LeftButton);
    shown.start();
    EXPECT_EQ(view_.statusText(), QStringLiteral("Summary copied"));
    ASSERT_TRUE(waitUntil([&] { return view_.statusText() == QStringLiteral("Ready"); }, std::chrono::seconds(4)));
    EXPECT_GE(shown.elapsed(), MainWindowView::kNoticeMilliseconds - 100);
}

// What has the keyboard focus: a tab button by its title, any other control by its name.
QString focusStop()
{
    QWidget* focused = QApplication::focusWidget();
    if (const auto* tab = qobject_cast<TabButton*>(focused))
        return QStringLiteral("tab ") + tab->text();
    return focused != nullptr ? focused->objectName() : QStringLiteral("nothing");
}

TEST_F(MainWindow, TheKeyboardReachesEveryControlAndMovesAlongTheTabBar)
{
    held_->snapshot.mainboard.hardwareUUID = "AF9C6236-E2E7-5B73-A553-619C3411576C";
    held_->snapshot.mainboard.macSerial = "FVFF91M9Q6L8";
    held_->gate.release();
    view_.show();
    view_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view_));
    ASSERT_TRUE(waitUntil([&] { return !store_.isRefreshing(); }));
    view_.selectTab(AppTab::mainboard);
    QCoreApplication::processEvents();

    view_.refreshButton()->setFocus(Qt::TabFocusReason);
    QStringList stops{focusStop()};
    for (int press = 0; press < 6; ++press) {
        QTest::keyClick(QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &view_, Qt::Key_Tab);
        stops << focusStop();
    }
    EXPECT_EQ(stops, (QStringList{"Refresh", "Copy", "PayPal", "tab Mainboard", "System UUID", "macOS Serial",
                                  "Refresh"}));
    EXPECT_TRUE(showsFocusRing(*view_.refreshButton())) << "the focused control shows it";

    view_.tabButton(AppTab::mainboard)->setFocus(Qt::TabFocusReason);
    const std::pair<Qt::Key, AppTab> steps[] = {
        {Qt::Key_Right, AppTab::memory}, {Qt::Key_Left, AppTab::mainboard}, {Qt::Key_Left, AppTab::caches},
        {Qt::Key_Left, AppTab::cpu},     {Qt::Key_Left, AppTab::cpu},
    };
    for (const auto& [key, tab] : steps) {
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(view_.selection(), tab) << appTabId(tab);
        EXPECT_EQ(QApplication::focusWidget(), view_.tabButton(tab)) << appTabId(tab);
    }
}

TEST(TabShortcut, DigitsOneToNineThenZeroForATenthAndNonePast)
{
    const std::pair<std::size_t, QKeySequence> cases[] = {
        {0, QKeySequence(Qt::CTRL | Qt::Key_1)}, {8, QKeySequence(Qt::CTRL | Qt::Key_9)},
        {9, QKeySequence(Qt::CTRL | Qt::Key_0)}, {10, QKeySequence()},
        {11, QKeySequence()},
    };
    for (const auto& [index, shortcut] : cases)
        EXPECT_EQ(tabShortcut(index), shortcut) << index;
}

TEST_F(MainWindow, CommandAndADigitChooseTheTabInThatPlace)
{
    view_.show();
    view_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view_));
    view_.tabButton(AppTab::cpu)->setFocus(Qt::TabFocusReason);
    for (std::size_t index = kAppTabs.size(); index-- > 0;) {
        QTest::keySequence(QApplication::focusWidget(), tabShortcut(index));
        EXPECT_EQ(view_.selection(), kAppTabs[index].tab) << kAppTabs[index].id;
        EXPECT_EQ(QApplication::focusWidget(), view_.tabButton(kAppTabs[index].tab)) << "the focus follows the tab";
    }
}

// The label follows the snapshot, as the summary's does; before the first refresh, the build.
TEST(OperatingSystemLabel, SaysMacOSBesideAMacsVersionAndOSBesideAnyOtherSystem)
{
    const std::pair<const char*, QString> cases[] = {
        {"long-values-composite", QStringLiteral("macOS")},   // 13.0 (22A380)
        {"mbp15-1-i7-8750h", QStringLiteral("macOS")},        // a Mac's capture without sw_vers
        {"linux-kvm-epyc-2vcpu", QStringLiteral("OS")},       // Debian GNU/Linux 12 (bookworm)
        {"linux-imacpro1-1-vega56", QStringLiteral("OS")},    // Linux on a Mac
    };
    for (const auto& [capture, label] : cases) {
        const SystemSnapshot snapshot = replayedSnapshot(capture);
        SystemInfoStore store([snapshot] { return snapshot; }, noBenchmark());
        MainWindowView window(store, AppLinks{}, nullptr);
        EXPECT_EQ(window.osLabelText(), QStringLiteral("OS:")) << "nothing read yet: this Linux build's label";
        window.show();
        ASSERT_TRUE(waitFor(window.startupRefresh()));
        ASSERT_TRUE(waitUntil([&] { return window.osLabelText() == label + QLatin1Char(':'); })) << capture;
        EXPECT_EQ(window.osText().toStdString(), snapshot.mainboard.os);

        if (!snapshot.mainboard.os.empty()) {
            MainboardTabView tab(store);
            EXPECT_EQ(rowLabels(cardTitled(&tab, QStringLiteral("Operating System"))).value(0), label) << capture;
        }
    }
}

TEST(MainWindowStatus, FollowsARunningBenchmarkRoundByRound)
{
    auto gate = std::make_shared<Gate>();
    SystemInfoStore store([] { return SystemSnapshot{}; }, [gate](const Benchmark::Progress& progress) {
        progress(Benchmark::Phase::multi, 3, 9);
        gate->pass();
        return BenchmarkOutcome{};
    });
    MainWindowView view(store, AppLinks{}, nullptr);
    const QFuture<void> done = store.runBenchmark();
    EXPECT_TRUE(waitUntil(
        [&] { return view.statusText() == QStringLiteral("Benchmark running \u2014 round 14 of 20, multi"); }));
    gate->release();
    ASSERT_TRUE(waitFor(done));
    EXPECT_TRUE(waitUntil([&] { return view.statusText() == QStringLiteral("Ready"); }));
}

// Machine text of any length: elided or wrapped inside the view, never wider than it.
SystemSnapshot longValues()
{
    const std::string token(400, 'X');
    SystemSnapshot snapshot;
    snapshot.cpu = initialCPUInfo();
    snapshot.cpu.name = "Intel(R) Xeon(R) W-3245 CPU @ 3.20GHz " + token;
    snapshot.cpu.physicalCores = token;
    snapshot.cpu.features = "FPU VME " + token + " SSE4.2";
    snapshot.mainboard.bootROM = "1916.40.8.0.0 (iBridge: 20.16.420.0.0,0) " + token;
    snapshot.mainboard.kernel = "Darwin Kernel Version 20.1.0: " + token;
    snapshot.mainboard.hardwareUUID = "AF9C6236-E2E7-5B73-A553-619C3411576C" + token;
    snapshot.mainboard.detectionNotes = "/Applications/Veltrin.app/Contents/Resources/" + token;
    snapshot.memory.modules = {MemoryModule{.bank = "BANK 0/" + token, .size = "16 GB", .part = token}};
    snapshot.gpus = {GPUInfo{.name = "Radeon " + token, .displays = "5120 x 2880 Retina / " + token}};
    return snapshot;
}

TEST(MainWindowLayout, NoValueWidensAPageAndAShortPageDoesNotScroll)
{
    auto store = publishedStore(longValues());
    MainWindowView view(*store, AppLinks{}, nullptr);
    view.resize(MainWindowView::kMinimumWidth, MainWindowView::kMinimumHeight);
    view.show();
    for (const AppTabInfo& info : kAppTabs) {
        view.selectTab(info.tab);
        QCoreApplication::processEvents();
        const int viewport = view.contentArea()->viewport()->width();
        EXPECT_LE(view.currentTabView()->width(), viewport) << info.id;
        for (const GlassCard* card : cardsOf(view.currentTabView()))
            EXPECT_LE(card->mapTo(view.currentTabView(), QPoint(card->width(), 0)).x(), viewport) << info.id;
    }

    // Two cards side by side need no more height than the taller of them.
    SystemSnapshot usual;
    usual.cpu = {"Apple M2 Max", "Apple", "arm64", "12", "12", "3.49 GHz", "", "", "", "", "FPU SSE AVX"};
    auto usualStore = publishedStore(usual);
    MainWindowView usualView(*usualStore, AppLinks{}, nullptr);
    usualView.resize(MainWindowView::kMinimumWidth, MainWindowView::kMinimumHeight);
    usualView.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(usualView.contentArea()->verticalScrollBar()->maximum(), 0);
}

// The card grid takes the columns its cards need: a long processor name is not
// cut while a third column stands empty, and a wider window never makes cards
// narrower; four modules sit two by two.
TEST(MainWindowLayout, CardColumnsFollowTheWidthTheContentNeeds)
{
    SystemSnapshot snapshot;
    snapshot.cpu = initialCPUInfo();
    snapshot.cpu.name = "Intel(R) Xeon(R) CPU E5-2680 v4 @ 2.40GHz";
    snapshot.cpu.features = "FPU VME DE PSE TSC MSR PAE MCE CX8 APIC SEP MTRR PGE MCA CMOV PAT PSE36 CLFSH";
    for (int slot = 0; slot < 4; ++slot)
        snapshot.memory.modules.push_back(MemoryModule{.bank = "DIMM " + std::to_string(slot), .size = "16 GB"});
    auto store = publishedStore(snapshot);
    MainWindowView view(*store, AppLinks{}, nullptr);
    view.show();
    ASSERT_TRUE(waitFor(view.startupRefresh()));
    struct Case {
        AppTab tab;
        int columns;
    };
    for (const Case c : {Case{AppTab::cpu, 2}, Case{AppTab::spd, 2}}) {
        int narrowest = 0;
        for (const int width : {1120, 1380, 1600}) {
            view.resize(width, 900);
            view.selectTab(c.tab);
            QCoreApplication::processEvents();
            std::set<int> lefts;
            int cardWidth = 0;
            for (const GlassCard* card : cardsOf(view.currentTabView())) {
                lefts.insert(card->x());
                cardWidth = card->width();
            }
            EXPECT_EQ(int(lefts.size()), c.columns) << appTabId(c.tab) << " at " << width;
            EXPECT_GE(cardWidth, narrowest) << appTabId(c.tab) << " at " << width;
            narrowest = cardWidth;
            for (const ElidedLabel* value : view.currentTabView()->findChildren<ElidedLabel*>())
                EXPECT_FALSE(value->isElided()) << value->fullText().toStdString() << " at " << width;
        }
    }
}

TEST_F(MainWindow, DonateOpensTheDonationPage)
{
    UrlCatcher catcher({QStringLiteral("https")});
    QTest::mouseClick(view_.donateButton(), Qt::LeftButton);
    EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/give"))});
}

} // namespace
