#include "state/system_info_store.h"
#include "ui/app_tab.h"
#include "ui/bench_charts.h"
#include "ui/info_tabs.h"
#include "ui/platform_texts.h"
#include "ui/score_view.h"
#include "ui/updater.h"

#include "ui_test_support.h"
#include "url_catcher.h"

#include <QTest>
#include <QTextEdit>

#include <memory>

#include <gtest/gtest.h>

using namespace veltrin;
using namespace veltrin::testing;

namespace {

const QString kDash = QStringLiteral("\u2014");

struct Tiles {
    QString singleScore, singleDetail, multiScore, multiDetail;
    friend bool operator==(const Tiles&, const Tiles&) = default;
    friend void PrintTo(const Tiles& t, std::ostream* out)
    {
        *out << t.singleScore.toStdString() << " / " << t.singleDetail.toStdString() << " | "
             << t.multiScore.toStdString() << " / " << t.multiDetail.toStdString();
    }
};

Tiles tilesOf(const QWidget* view)
{
    const QList<ScoreView*> tiles = view->findChildren<ScoreView*>();
    if (tiles.size() != 2 || tiles[0]->title() != QStringLiteral("Single Thread") ||
        tiles[1]->title() != QStringLiteral("Multi Thread"))
        return {};
    return {tiles[0]->scoreText(), tiles[0]->detail(), tiles[1]->scoreText(), tiles[1]->detail()};
}

TEST(BenchTab, StartsWithTwoDashesAndOnlyTheStatusRow)
{
    SystemInfoStore store([] { return SystemSnapshot{}; }, noBenchmark());
    BenchTabView view(store);
    EXPECT_EQ(tilesOf(&view), (Tiles{kDash, {}, kDash, {}}));
    EXPECT_EQ(rowsOf(cardTitled(&view, QStringLiteral("CPU Benchmark"))),
              (std::vector<ShownRow>{{"Status", "Ready"}}));
}

TEST(BenchTab, ShowsTheResultWithTheThreadsUnderTheMultiThreadScore)
{
    const BenchResult result{0, 48213, "Done", "8 threads", "single CV 0.8% / multi CV 2.5%", "", "1234.57 Mops/s",
                             "11 single / 9 multi rounds, trimmed mean"};
    SystemInfoStore store([] { return SystemSnapshot{}; }, benchmarkGiving([result] { return result; }));
    BenchTabView view(store);
    ASSERT_TRUE(waitFor(store.runBenchmark()));
    EXPECT_EQ(tilesOf(&view), (Tiles{kDash, {}, QStringLiteral("48213"), QStringLiteral("8 threads")}));
    EXPECT_EQ(rowsOf(cardTitled(&view, QStringLiteral("CPU Benchmark"))),
              (std::vector<ShownRow>{{"Status", "Done"},
                                     {"Stability", "single CV 0.8% / multi CV 2.5%"},
                                     {"Throughput", "1234.57 Mops/s"},
                                     {"Method", "11 single / 9 multi rounds, trimmed mean"}}));
}

TEST(BenchTab, RunBenchmarkKeepsTheOldScoresAndShowsTheRoundWhileRunning)
{
    auto gate = std::make_shared<Gate>();
    int runs = 0;
    SystemInfoStore store([] { return SystemSnapshot{}; }, [gate, &runs](const Benchmark::Progress& progress) {
        progress(Benchmark::Phase::single, 7, 11);
        gate->pass();
        return BenchmarkOutcome{{BenchResult{1000 + runs, 2000, "Done", "4 threads", "", "0.9 s avg", "", ""}, {}}, {}};
    });
    BenchTabView view(store);
    gate->release();
    ASSERT_TRUE(waitFor(store.runBenchmark()));
    ASSERT_EQ(tilesOf(&view).singleScore, QStringLiteral("1000"));

    auto* run = view.findChild<MetalButton*>();
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->text(), QStringLiteral("Run Benchmark"));
    QTest::mouseClick(run, Qt::LeftButton);
    const std::vector<ShownRow> running{{"Status", "Running\u2026"}, {"Progress", "Round 7 of 20, single"}};
    ASSERT_TRUE(waitUntil([&] { return rowsOf(cardTitled(&view, QStringLiteral("CPU Benchmark"))) == running; }));
    EXPECT_EQ(tilesOf(&view), (Tiles{QStringLiteral("1000"), QStringLiteral("0.9 s avg"), QStringLiteral("2000"),
                                     QStringLiteral("4 threads")}));
    gate->release();
    ASSERT_TRUE(waitUntil([&] { return rowsOf(cardTitled(&view, QStringLiteral("CPU Benchmark"))).front().second ==
                                       QStringLiteral("Done"); }));
}

BenchHistoryEntry recordedRun(std::int64_t single, const char* date)
{
    return {date, "1.6", single, single * 4, 1.2, 3.4, 4, "MacPro7,1", {{1.0, false}, {1.3, true}}, {{1.2, false}}};
}

TEST(BenchTab, DrawsTheRoundsOfTheLatestRunAndListsRecentRunsNewestFirst)
{
    const std::vector<BenchHistoryEntry> history{recordedRun(1100, "2025-03-01T10:15:00Z"),
                                                 recordedRun(1200, "2025-03-02T11:30:00Z")};
    const BenchDetails details{.singleRounds = {{0.9, false}}, .multiRounds = {{1.1, true}}};
    SystemInfoStore store(
        [] { return SystemSnapshot{}; },
        [history, details](const Benchmark::Progress&) { return BenchmarkOutcome{{BenchResult{}, details}, {history, {}}}; },
        [history] { return BenchHistoryRead{history, "The benchmark history was moved aside."}; });
    BenchTabView view(store);
    EXPECT_EQ(cardTitles(&view), (QStringList{"CPU Benchmark", "Scoring Notes"})) << "no run, no history yet";

    ASSERT_TRUE(waitFor(store.loadBenchHistory()));
    ASSERT_TRUE(waitUntil([&] { return cardTitles(&view).size() == 4; }));
    EXPECT_EQ(cardTitles(&view), (QStringList{"CPU Benchmark", "Round Times", "Recent Runs", "Scoring Notes"}));
    const auto paragraphs = [&](const QString& card) { return textsOf(cardTitled(&view, card)); };
    EXPECT_TRUE(paragraphs(QStringLiteral("Round Times")).contains(QStringLiteral("2025-03-02 11:30 UTC")));
    const QString recent = paragraphs(QStringLiteral("Recent Runs"));
    EXPECT_LT(recent.indexOf(QStringLiteral("2025-03-02 11:30")), recent.indexOf(QStringLiteral("2025-03-01 10:15")));
    EXPECT_TRUE(recent.contains(QStringLiteral("1.2% / 3.4%")));
    EXPECT_TRUE(recent.contains(QStringLiteral("moved aside"))) << "the problem stays in view";

    ASSERT_TRUE(waitFor(store.runBenchmark()));
    ASSERT_TRUE(waitUntil([&] { return paragraphs(QStringLiteral("Round Times")).contains(QStringLiteral("just")); }));
}

TEST(RoundSpread, MeasuresEachRoundAgainstTheMedianOnARoundScale)
{
    struct Case {
        std::vector<double> seconds;
        double median;
        std::vector<double> deviations;
        double scale;
    };
    const Case cases[] = {
        {{}, 0, {}, 2},
        {{1.0, 1.1, 0.9}, 1.0, {0, 10, -10}, 10},
        {{1.0, 1.01}, 1.005, {-0.4975, 0.4975}, 2},
        {{2.0, 1.0, 4.0, 3.0}, 2.5, {-20, -60, 60, 20}, 100},
        {{1.0, 40.0, 1.0}, 1.0, {0, 3900, 0}, 1000},
    };
    for (const Case& c : cases) {
        std::vector<RoundTime> rounds;
        for (const double seconds : c.seconds)
            rounds.push_back({seconds, false});
        const MedianSpread spread = roundSpread(rounds);
        EXPECT_DOUBLE_EQ(spread.median, c.median);
        ASSERT_EQ(spread.deviationPercent.size(), c.deviations.size());
        for (std::size_t index = 0; index < c.deviations.size(); ++index)
            EXPECT_NEAR(spread.deviationPercent[index], c.deviations[index], 0.01) << index;
        EXPECT_EQ(spread.scalePercent, c.scale) << c.seconds.size();
    }
}

// Recent runs are drawn against the same kind of band: three runs within 0.2 %
// of each other sit on the line of a ±2 % band, while a real 10 % drop reaches
// the edge of a ±10 % one.
TEST(ScoreSpread, ShowsHowLargeAChangeIsNotJustThatThereIsOne)
{
    struct Case {
        const char* history;
        std::vector<std::int64_t> single;
        std::vector<std::int64_t> multi;
        double singleScale;
        double multiScale;
        double lastMultiDeviation;
    };
    const Case cases[] = {
        {"steady", {5000, 5006, 4997}, {40000, 39950, 40040}, 2, 2, 0.1},
        {"a 10% drop in the last run", {5000, 5006, 4500}, {40000, 40050, 36000}, 10, 10, -10},
        {"one run", {5000}, {40000}, 2, 2, 0},
    };
    for (const Case& c : cases) {
        std::vector<BenchHistoryEntry> runs;
        for (std::size_t index = 0; index < c.single.size(); ++index) {
            BenchHistoryEntry run;
            run.singleThread = c.single[index];
            run.multiThread = c.multi[index];
            runs.push_back(run);
        }
        const MedianSpread single = scoreSpread(runs, &BenchHistoryEntry::singleThread);
        const MedianSpread multi = scoreSpread(runs, &BenchHistoryEntry::multiThread);
        EXPECT_EQ(single.scalePercent, c.singleScale) << c.history;
        EXPECT_EQ(multi.scalePercent, c.multiScale) << c.history;
        EXPECT_NEAR(multi.deviationPercent.back(), c.lastMultiDeviation, 0.01) << c.history;
    }
}

TEST(ScoreView, ShowsADashForZeroAndDropsAPlaceholderDetail)
{
    struct Case {
        std::int64_t score;
        std::string detail;
        QString shownScore;
        QString shownDetail;
    };
    const Case cases[] = {
        {0, "", kDash, {}},
        {0, "0.97 s avg", kDash, QStringLiteral("0.97 s avg")},
        {12345, "\u2014", QStringLiteral("12345"), {}},
        {-3, "Unknown", QStringLiteral("-3"), {}},
        {9007199254740993, "n/a", QStringLiteral("9007199254740993"), {}},
    };
    for (const Case& c : cases) {
        ScoreView tile(QStringLiteral("Single Thread"), c.score, c.detail);
        EXPECT_EQ(tile.scoreText(), c.shownScore) << c.score;
        EXPECT_EQ(tile.detail(), c.shownDetail) << c.detail;
    }
}

class FakeUpdater : public Updater {
public:
    std::string description() const override { return "Checked by the test"; }
    void checkForUpdates() override { ++checks; }
    int checks = 0;
};

QStringList buttonTexts(const QWidget* view)
{
    QStringList texts;
    for (const MetalButton* button : view->findChildren<MetalButton*>())
        texts << button->text();
    return texts;
}

const AppLinks kLinks{.donation = QUrl(QStringLiteral("https://example.org/give")),
                      .email = QUrl(QStringLiteral("mailto:author@example.org")),
                      .authorCredit = QStringLiteral("A. Author"),
                      .authorEmail = QStringLiteral("author@example.org")};

// Without an updater nothing offers a check or claims Sparkle, and About and Help say why.
TEST(AboutTab, ClaimsNoUpdaterWithoutOneAndSaysWhy)
{
    const QString why = QString::fromUtf8(platformTexts(buildPlatform()).noUpdater);
    AboutTabView about(kLinks, nullptr);
    const std::vector<ShownRow> rows = rowsOf(cardTitled(&about, QStringLiteral("Application")));
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[5], ShownRow(QStringLiteral("Updates"), why));
    EXPECT_EQ(buttonTexts(&about), (QStringList{"PayPal Donate", "Email"}));
    EXPECT_EQ(cardTitles(&about), (QStringList{"Application", "What Veltrin does", "Privacy and permissions"}));
    EXPECT_FALSE(textsOf(&about).contains(QStringLiteral("Sparkle")));

    HelpTabView help(nullptr);
    EXPECT_TRUE(textsOf(&help).contains(QStringLiteral("Check for Updates is not available. ") + why));
    EXPECT_FALSE(textsOf(&help).contains(QStringLiteral("Sparkle")));
}

TEST(AboutTab, OffersTheUpdateCheckWithAnUpdater)
{
    FakeUpdater updater;
    AboutTabView view(kLinks, &updater);
    const std::vector<ShownRow> rows = rowsOf(cardTitled(&view, QStringLiteral("Application")));
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1], ShownRow(QStringLiteral("Author"), QStringLiteral("A. Author")));
    EXPECT_EQ(rows[5], ShownRow(QStringLiteral("Updates"), QStringLiteral("Checked by the test")));
    EXPECT_EQ(buttonTexts(&view), (QStringList{"PayPal Donate", "Email", "Check for Updates\u2026"}));
    QTest::mouseClick(view.findChildren<MetalButton*>().back(), Qt::LeftButton);
    EXPECT_EQ(updater.checks, 1);
}

TEST(AboutTab, TheBackendRowWrapsInTheNarrowAboutWindow)
{
    AboutTabView view(kLinks, nullptr);
    view.resize(720, 900);
    view.show();
    QCoreApplication::processEvents();
    const InfoRow* backend = nullptr;
    for (const InfoRow* row : view.findChildren<InfoRow*>())
        if (row->label() == QStringLiteral("Backend"))
            backend = row;
    ASSERT_NE(backend, nullptr);
    const QLabel* value = backend->findChild<ValueBox*>()->findChild<QLabel*>();
    EXPECT_EQ(value->text(), QString::fromUtf8(platformTexts(buildPlatform()).backend));
    EXPECT_GE(value->height(), 2 * value->fontMetrics().lineSpacing()) << "on two lines or more, nothing cut";
}

// About, Help and the benchmark's notes speak of the program and the machine it
// runs on: on a Linux build none of them claims macOS, a Mac or its tools.
TEST(ProgramTexts, SayWhatIsTrueOnTheSystemTheyRunOn)
{
    if (buildPlatform() == Platform::mac)
        GTEST_SKIP() << "a Mac keeps the Mac's words";
    SystemInfoStore store([] { return replayedSnapshot("long-values-composite"); }, noBenchmark());
    ASSERT_TRUE(waitFor(store.refreshAll())); // what the window shows is a Mac's; the program is not
    const std::unique_ptr<QWidget> views[] = {std::make_unique<AboutTabView>(kLinks, nullptr),
                                              std::make_unique<HelpTabView>(nullptr),
                                              std::make_unique<BenchTabView>(store)};
    for (const auto& view : views) {
        const QString texts = textsOf(view.get());
        for (const char* claim : {"macOS", "the Mac", "Sparkle", "system_profiler", "sysctl", "Metal"})
            EXPECT_FALSE(texts.contains(QString::fromUtf8(claim))) << view->metaObject()->className() << ": " << claim;
    }
}

TEST(AboutTab, ButtonsOpenTheDonationPageAndTheMailLink)
{
    UrlCatcher catcher({QStringLiteral("https"), QStringLiteral("mailto")});
    AboutTabView view(kLinks, nullptr);
    for (MetalButton* button : view.findChildren<MetalButton*>())
        QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(catcher.opened, (QList<QUrl>{kLinks.donation, kLinks.email}));
}

TEST(HelpTab, ExplainsEveryHardwareAndBenchTab)
{
    HelpTabView view(nullptr);
    EXPECT_EQ(cardTitles(&view), (QStringList{"Overview", "Tabs", "Tips", "Notes"}));
    QStringList tabTitles;
    for (const AppTabInfo& info : kAppTabs)
        if (info.tab != AppTab::about && info.tab != AppTab::help)
            tabTitles << QString::fromUtf8(info.title.data(), qsizetype(info.title.size()));
    EXPECT_EQ(rowLabels(cardTitled(&view, QStringLiteral("Tabs"))), tabTitles);
}

} // namespace
