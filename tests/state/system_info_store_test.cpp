#include "state/clipboard.h"
#include "state/system_info_store.h"

#include "qt_test_support.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <memory>

using namespace veltrin;
using veltrin::testing::Gate;
using veltrin::testing::waitFor;
using veltrin::testing::waitUntil;
using Property = SystemInfoStore::Property;

namespace {

SystemSnapshot sampleSnapshot()
{
    SystemSnapshot snapshot;
    snapshot.cpu = {"Apple M2 Max", "Apple Silicon / ARM64", "arm64", "12", "12", "\u2014", "128 KB", "64 KB",
                    "4 MB", "\u2014", "\u2014"};
    snapshot.mainboard.manufacturer = "ASUSTeK COMPUTER INC.";
    snapshot.mainboard.model = "ROG STRIX Z790-E GAMING WIFI";
    snapshot.mainboard.macModel = "iMacPro1,1";
    snapshot.mainboard.macBoardID = "Mac-7BA5B2D9E42DDD94";
    snapshot.mainboard.macSerial = "C02XK1JHJG5J";
    snapshot.mainboard.os = "14.6.1 (23G93)";
    snapshot.memory = {"32 GB", "DDR5", "6000 MT/s", "2 populated", "", "", {}};
    snapshot.gpus = {GPUInfo{.name = "A"}, GPUInfo{.name = "B"}};
    snapshot.boot.bootArguments = "-v keepsyms=1";
    return snapshot;
}

BenchResult benchResult(std::int64_t single, const char* status)
{
    return {single, single * 8, status, "8 threads", "single CV 0.8% / multi CV 2.5%", "0.97 s avg",
            "1234.57 Mops/s", "11 single / 9 multi rounds, trimmed mean, calibrated ~1s+ rounds"};
}

// Work the tests hold at a gate; shared so it may outlive the store.
struct HeldWork {
    Gate gate;
    std::atomic<int> collections{0};
    SystemSnapshot snapshot = sampleSnapshot();
};

SystemInfoStore::Collector heldCollector(const std::shared_ptr<HeldWork>& work)
{
    return [work] {
        ++work->collections;
        work->gate.pass();
        return work->snapshot;
    };
}

SystemInfoStore::BenchmarkRunner unusedBenchmark()
{
    return veltrin::testing::benchmarkGiving([] { return BenchResult{}; });
}

} // namespace

TEST(SystemInfoStore, StartsWithThePlaceholderValues)
{
    SystemInfoStore store([] { return SystemSnapshot{}; }, unusedBenchmark());
    EXPECT_EQ(store.cpu(), initialCPUInfo());
    EXPECT_EQ(store.cpu().vendor, "Apple / Intel");
    EXPECT_EQ(store.mainboard().chipset, "Unknown");
    EXPECT_EQ(store.memory().total, "\u2014");
    EXPECT_TRUE(store.memory().modules.empty());
    EXPECT_TRUE(store.gpus().empty());
    EXPECT_EQ(store.bench(), (BenchResult{0, 0, "Ready", "", "", "", "", ""}));
    EXPECT_FALSE(store.isRefreshing());
}

TEST(SummaryText, RendersTheInitialValuesWithEverySeparator)
{
    SystemInfoStore store([] { return SystemSnapshot{}; }, unusedBenchmark());
    EXPECT_EQ(store.summaryText(), "Veltrin Hardware Summary\n"
                                   "CPU: Unknown\n"
                                   "Architecture: Unknown\n"
                                   "Physical cores: \u2014\n"
                                   "Logical threads: \u2014\n"
                                   "Real motherboard:  \n"
                                   "Board ID: \n"
                                   "Board serial: \n"
                                   "BIOS:   \n"
                                   "macOS SMBIOS:  / \n"
                                   "macOS Serial: \n"
                                   "macOS: \n"
                                   "Memory: \u2014 \u2014 \u2014\n"
                                   "GPU: ");
}

TEST(SummaryText, ShowsPublishedValuesUnmaskedAndListsEveryAdapter)
{
    auto work = std::make_shared<HeldWork>();
    work->gate.release();
    SystemInfoStore store(heldCollector(work), unusedBenchmark());
    ASSERT_TRUE(waitFor(store.refreshAll()));
    EXPECT_EQ(store.summaryText(), "Veltrin Hardware Summary\n"
                                   "CPU: Apple M2 Max\n"
                                   "Architecture: arm64\n"
                                   "Physical cores: 12\n"
                                   "Logical threads: 12\n"
                                   "Real motherboard: ASUSTeK COMPUTER INC. ROG STRIX Z790-E GAMING WIFI\n"
                                   "Board ID: \n"
                                   "Board serial: \n"
                                   "BIOS:   \n"
                                   "macOS SMBIOS: iMacPro1,1 / Mac-7BA5B2D9E42DDD94\n"
                                   "macOS Serial: C02XK1JHJG5J\n"
                                   "macOS: 14.6.1 (23G93)\n"
                                   "Memory: 32 GB DDR5 6000 MT/s\n"
                                   "GPU: A, B");
}

// Whether part `index` of the snapshot (its index-th field) is the same in both.
bool samePart(const SystemSnapshot& a, const SystemSnapshot& b, std::size_t index)
{
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return ((I == index && std::get<I>(a.fields()) == std::get<I>(b.fields())) || ...);
    }(std::make_index_sequence<SystemSnapshot::fieldNames.size()>{});
}

TEST(SystemInfoStore, PublishesEveryPartOfTheSnapshotInOrderAndNotifiesBeforeEachChange)
{
    auto work = std::make_shared<HeldWork>();
    // Each part must change for the test to see when it changes.
    for (std::size_t part = 0; part < SystemSnapshot::fieldNames.size(); ++part)
        ASSERT_FALSE(samePart(work->snapshot, initialSnapshot(), part))
            << "give the sample snapshot a " << SystemSnapshot::fieldNames[part] << " of its own";
    SystemInfoStore store(heldCollector(work), unusedBenchmark());
    std::vector<Property> order;
    std::vector<std::size_t> changedBeforeItsNotice;
    QObject::connect(&store, &SystemInfoStore::willChange, [&](Property property) {
        order.push_back(property);
        const auto part = static_cast<std::size_t>(property);
        if (part < SystemSnapshot::fieldNames.size() && !samePart(store.snapshot(), initialSnapshot(), part))
            changedBeforeItsNotice.push_back(part);
    });

    const QFuture<void> refresh = store.refreshAll();
    EXPECT_TRUE(store.isRefreshing());
    work->gate.release();
    ASSERT_TRUE(waitFor(refresh));

    // Every part of the record, in the record's order, whatever parts it has.
    std::vector<Property> expected{Property::isRefreshing};
    for (std::size_t part = 0; part < SystemSnapshot::fieldNames.size(); ++part)
        expected.push_back(static_cast<Property>(part));
    expected.push_back(Property::isRefreshing);
    EXPECT_EQ(order, expected);
    EXPECT_EQ(order[1], SystemInfoStore::snapshotPart("cpu"));
    EXPECT_EQ(order[4], SystemInfoStore::snapshotPart("gpus"));
    EXPECT_TRUE(changedBeforeItsNotice.empty());
    EXPECT_FALSE(store.isRefreshing());
    for (std::size_t part = 0; part < SystemSnapshot::fieldNames.size(); ++part)
        EXPECT_TRUE(samePart(store.snapshot(), work->snapshot, part)) << SystemSnapshot::fieldNames[part];
}

TEST(SystemInfoStore, IgnoresARefreshWhileOneIsUnderWay)
{
    auto work = std::make_shared<HeldWork>();
    SystemInfoStore store(heldCollector(work), unusedBenchmark());
    int refreshingChanges = 0;
    QObject::connect(&store, &SystemInfoStore::willChange, [&](Property property) {
        refreshingChanges += property == Property::isRefreshing;
    });

    const QFuture<void> first = store.refreshAll();
    ASSERT_TRUE(work->gate.waitForArrivals(1));
    const QFuture<void> second = store.refreshAll();
    EXPECT_TRUE(second.isFinished());
    EXPECT_TRUE(store.isRefreshing());

    work->gate.release();
    ASSERT_TRUE(waitFor(first));
    EXPECT_EQ(work->collections.load(), 1);
    EXPECT_EQ(refreshingChanges, 2);
    EXPECT_FALSE(store.isRefreshing());

    // Once idle, a refresh collects again.
    work->gate.release();
    ASSERT_TRUE(waitFor(store.refreshAll()));
    EXPECT_EQ(work->collections.load(), 2);
}

// Two overlapping runs, each held at its own gate; released in `finishOrder`.
void runTwoBenchmarks(std::array<int, 2> finishOrder)
{
    auto gates = std::make_shared<std::array<Gate, 2>>();
    auto runs = std::make_shared<std::atomic<int>>(0);
    SystemInfoStore store([] { return SystemSnapshot{}; }, veltrin::testing::benchmarkGiving([gates, runs] {
        const int run = ++*runs;
        (*gates)[(run - 1) % 2].pass(); // a third run shares the first gate
        return benchResult(run * 100, run == 1 ? "Complete" : "Complete \u2014 variance detected");
    }));

    const std::array<QFuture<void>, 2> futures{store.runBenchmark(), store.runBenchmark()};
    ASSERT_TRUE((*gates)[0].waitForArrivals(1));
    ASSERT_TRUE((*gates)[1].waitForArrivals(1));
    EXPECT_EQ(store.bench().status, "Running\u2026");
    EXPECT_EQ(store.bench().singleThread, 0);

    // Gates follow the order in which the runs started; futures the order of the calls.
    int finished = 0;
    for (const int run : finishOrder) {
        (*gates)[run].release();
        ++finished;
        ASSERT_TRUE(waitUntil([&] { return futures[0].isFinished() + futures[1].isFinished() == finished; }));
        // The run that finished last replaces the result whole.
        EXPECT_EQ(store.bench(), benchResult((run + 1) * 100, run == 0 ? "Complete" : "Complete \u2014 variance detected"));
    }
    EXPECT_EQ(runs->load(), 2);

    // A new run marks only the status; the previous scores stay readable.
    const std::int64_t shown = store.bench().singleThread;
    (*gates)[0].release();
    const QFuture<void> again = store.runBenchmark();
    EXPECT_EQ(store.bench().status, "Running\u2026");
    EXPECT_EQ(store.bench().singleThread, shown);
    ASSERT_TRUE(waitFor(again));
}

TEST(SystemInfoStore, OverlappingBenchmarksEachPublishAndTheLastToFinishWins)
{
    runTwoBenchmarks({0, 1});
    runTwoBenchmarks({1, 0});
}

TEST(SystemInfoStore, WorkThatOutlivesItsStoreIsDroppedSafely)
{
    auto work = std::make_shared<HeldWork>();
    auto store = std::make_unique<SystemInfoStore>(heldCollector(work), unusedBenchmark());
    const QFuture<void> refresh = store->refreshAll();
    ASSERT_TRUE(work->gate.waitForArrivals(1));
    store.reset();
    work->gate.release();
    ASSERT_TRUE(waitFor(refresh));
    EXPECT_TRUE(refresh.isCanceled());
}

TEST(CopySummary, PutsExactlyTheSummaryOnTheClipboard)
{
    SystemInfoStore store([] { return SystemSnapshot{}; }, unusedBenchmark());
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("something else");
    copySummaryToClipboard(store);
    copySummaryToClipboard(store);
    EXPECT_EQ(clipboard->text().toStdString(), store.summaryText());
}

namespace {

BenchRun sampleRun()
{
    return {benchResult(1200, "Complete"),
            BenchDetails{.singleRounds = {{0.97, false}, {1.4, true}},
                         .multiRounds = {{1.21, false}},
                         .singleCV = 0.8,
                         .multiCV = 2.5,
                         .threadsRequested = 8,
                         .threadsRan = 8}};
}

BenchHistoryEntry recorded(std::int64_t single)
{
    return {"2025-03-01T10:15:00Z", "1.6", single, 8000, 0.8, 2.5, 8, "Mac", {}, {}};
}

} // namespace

TEST(SystemInfoStore, ShowsWhereABenchmarkStandsWhileItRunsThenItsRoundsAndHistory)
{
    auto gate = std::make_shared<Gate>();
    const BenchmarkOutcome outcome{sampleRun(), {{recorded(1100), recorded(1200)}, {}}};
    SystemInfoStore store([] { return SystemSnapshot{}; }, [gate, outcome](const Benchmark::Progress& progress) {
        progress(Benchmark::Phase::single, 7, 11);
        gate->pass();
        progress(Benchmark::Phase::multi, 2, 9);
        gate->pass();
        return outcome;
    });
    EXPECT_EQ(store.benchProgress(), "");

    const QFuture<void> done = store.runBenchmark();
    ASSERT_TRUE(waitUntil([&] { return store.benchProgress() == "round 7 of 20, single"; }));
    EXPECT_EQ(store.bench().status, "Running\u2026");
    EXPECT_FALSE(store.benchDetails().has_value());
    gate->release();
    ASSERT_TRUE(waitUntil([&] { return store.benchProgress() == "round 13 of 20, multi"; }));
    gate->release();
    ASSERT_TRUE(waitFor(done));

    EXPECT_EQ(store.benchProgress(), "") << "nothing runs any more";
    EXPECT_EQ(store.bench(), outcome.run.result);
    ASSERT_TRUE(store.benchDetails().has_value());
    EXPECT_EQ(*store.benchDetails(), outcome.run.details);
    EXPECT_EQ(store.benchHistory(), outcome.history.runs);
}

TEST(SystemInfoStore, KeepsAHistoryProblemInViewAfterLaterReads)
{
    const std::string problem = "The benchmark history could not be read: it is not valid JSON.";
    SystemInfoStore store(
        [] { return SystemSnapshot{}; },
        [](const Benchmark::Progress&) { return BenchmarkOutcome{sampleRun(), {{recorded(1)}, {}}}; },
        [problem] { return BenchHistoryRead{{}, problem}; });
    ASSERT_TRUE(waitFor(store.loadBenchHistory()));
    EXPECT_EQ(store.benchHistoryProblem(), problem);
    ASSERT_TRUE(waitFor(store.runBenchmark()));
    EXPECT_EQ(store.benchHistory(), std::vector<BenchHistoryEntry>{recorded(1)});
    EXPECT_EQ(store.benchHistoryProblem(), problem);

    SystemInfoStore without([] { return SystemSnapshot{}; }, unusedBenchmark());
    EXPECT_TRUE(waitFor(without.loadBenchHistory()));
    EXPECT_TRUE(without.benchHistory().empty());
}

TEST(SystemInfoStore, ProgressOfABenchmarkThatOutlivesItsStoreGoesNowhere)
{
    auto gate = std::make_shared<Gate>();
    auto store = std::make_unique<SystemInfoStore>(
        [] { return SystemSnapshot{}; }, [gate](const Benchmark::Progress& progress) {
            gate->pass();
            for (int round = 1; round <= 11; ++round)
                progress(Benchmark::Phase::single, round, 11);
            return BenchmarkOutcome{};
        });
    const QFuture<void> done = store->runBenchmark();
    ASSERT_TRUE(gate->waitForArrivals(1));
    store.reset();
    gate->release();
    ASSERT_TRUE(waitFor(done));
    EXPECT_TRUE(done.isCanceled());
}
