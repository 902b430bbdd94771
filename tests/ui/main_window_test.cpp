#include "state/system_info_store.h"
#include "ui/main_window.h"

#include "ui_test_support.h"
#include "url_catcher.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
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

TEST_F(MainWindow, DonateOpensTheDonationPage)
{
    UrlCatcher catcher({QStringLiteral("https")});
    QTest::mouseClick(view_.donateButton(), Qt::LeftButton);
    EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/give"))});
}

} // namespace
