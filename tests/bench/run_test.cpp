#include "bench/benchmark_detail.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <tuple>
#include <vector>

using namespace veltrin;
using namespace veltrin::Benchmark;

namespace {

constexpr std::uint64_t kSeedStep = 0x9E3779B97F4A7C15;

struct Event {
    std::string what;
    std::int64_t iterations = 0;
    int workers = 0;
    std::uint64_t seed = 0;
    double seconds = 0;
    bool operator==(const Event&) const = default;
};

// Records everything a run asks of the world and answers measurements from a script.
struct FakeWorld {
    std::vector<Sample> script;
    std::size_t next = 0;
    std::vector<Event> events;
    std::vector<std::tuple<Phase, int, int>> progress;
    int startableThreads = 1000; // how many workers the system lets a round start

    RunEnvironment environment(int processors)
    {
        return {
            .activeProcessors = processors,
            .warmUp = [this](double seconds, std::uint64_t seed) { events.push_back({"warm-up", 0, 0, seed, seconds}); },
            .measure = [this](std::int64_t iterations, int workers, std::uint64_t seed) {
                events.push_back({"measure", iterations, workers, seed});
                const Sample sample = next < script.size() ? script[next++] : Sample{};
                return Measured{sample, std::min(workers, startableThreads)};
            },
            .pause = [this](double seconds) { events.push_back({"pause", 0, 0, 0, seconds}); },
        };
    }
    Progress observer()
    {
        return [this](Phase phase, int round, int total) { progress.emplace_back(phase, round, total); };
    }
};

// Rounds of `seconds` each whose rates are base + k × step for each k given.
std::vector<Sample> roundsAround(double base, double step, const std::vector<int>& ks, double seconds)
{
    std::vector<Sample> samples;
    for (const int k : ks)
        samples.push_back({seconds, (base + k * step) * seconds});
    return samples;
}

std::vector<Sample> join(std::vector<std::vector<Sample>> parts)
{
    std::vector<Sample> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace

TEST(Run, FollowsTheProtocolAndScoresEachSeries)
{
    FakeWorld world;
    world.script = join({
        {{1.0, 0}}, // the single-thread calibration's first pass is long enough
        roundsAround(1'875'000, 150'000, {0, -5, 5, -1, 1, -4, 4, -2, 2, -3, 3}, 0.5),
        {{1.5, 0}}, // so is the multi-thread one's
        roundsAround(1'234'567'890, 10'000'000, {3, -3, 0, 4, -4, 1, -1, 2, -2}, 1.25),
    });

    const BenchRun measured = run(world.environment(2), RunTargets{}, world.observer());
    const BenchResult& result = measured.result;

    EXPECT_EQ(result, (BenchResult{
                          .singleThread = 13,
                          .multiThread = 8230,
                          .status = "Complete \u2014 variance detected",
                          .threads = "2 threads",
                          .stability = "single CV 17.3% / multi CV 1.3%",
                          .singleTime = "0.50 s avg",
                          .multiTime = "1234.57 Mops/s",
                          .method = "11 single / 9 multi rounds, trimmed mean, calibrated ~1s+ rounds",
                      }));

    std::vector<Event> expected{{"warm-up", 0, 0, 0x123456789ABCDEF0, 0.35},
                                {"measure", 160000, 1, 0xBADC0FFEEE000001}};
    for (std::uint64_t r = 1; r <= 11; ++r) {
        expected.push_back({"measure", 160000, 1, 0xA5A55A5A11110001 + r * kSeedStep});
        if (r < 11)
            expected.push_back({"pause", 0, 0, 0, 0.035});
    }
    expected.push_back({"measure", 90000, 2, 0xC001D00DEE000002});
    for (std::uint64_t r = 1; r <= 9; ++r) {
        expected.push_back({"measure", 90000, 2, 0x5A5AA5A522220002 + r * kSeedStep});
        if (r < 9)
            expected.push_back({"pause", 0, 0, 0, 0.035});
    }
    EXPECT_EQ(world.events, expected);
    ASSERT_EQ(world.events.size(), 41u);
    EXPECT_EQ(world.events[2].seed, 0x43DCD413905B7C16u);
    EXPECT_EQ(world.events[24].seed, 0xF8921F5EA16C7C17u);
    EXPECT_EQ(world.events[40].seed, 0xEA4DED2A9BC05CBFu);

    std::vector<std::tuple<Phase, int, int>> steps{{Phase::warmUp, 0, 0}, {Phase::singleCalibration, 0, 0}};
    for (int r = 1; r <= 11; ++r)
        steps.emplace_back(Phase::single, r, 11);
    steps.emplace_back(Phase::multiCalibration, 0, 0);
    for (int r = 1; r <= 9; ++r)
        steps.emplace_back(Phase::multi, r, 9);
    EXPECT_EQ(world.progress, steps);

    // Rounds keep their order; the trimmed ones are the extremes of their series.
    ASSERT_EQ(measured.details.singleRounds.size(), 11u);
    ASSERT_EQ(measured.details.multiRounds.size(), 9u);
    std::vector<bool> singleTrimmed, multiTrimmed;
    for (const RoundTime& round : measured.details.singleRounds)
        singleTrimmed.push_back(round.trimmed);
    for (const RoundTime& round : measured.details.multiRounds)
        multiTrimmed.push_back(round.trimmed);
    EXPECT_EQ(singleTrimmed, (std::vector<bool>{0, 1, 1, 0, 0, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(multiTrimmed, (std::vector<bool>{1, 1, 0, 1, 1, 0, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(measured.details.singleRounds[0].seconds, 0.5);
    EXPECT_EQ(measured.details.threadsRequested, 2);
    EXPECT_EQ(measured.details.threadsRan, 2);
}

// A system that refuses threads, or a series without work, is never reported
// as a complete run: the status says what happened and threads counts those that ran.
TEST(Run, SaysHonestlyWhenRoundsCouldNotRun)
{
    struct Case {
        const char* name;
        int processors;
        int startableThreads;
        double singleOperations;
        const char* status;
        const char* threads;
        bool multiScored;
    };
    const Case cases[] = {
        {"all threads start", 4, 1000, 1e6, "Complete", "4 threads", true},
        {"one processor", 1, 1000, 1e6, "Complete", "1 threads", true},
        {"two of four start", 4, 2, 1e6, "Incomplete \u2014 only 2 of 4 threads could start", "2 threads", true},
        {"no thread starts", 2, 0, 1e6, "Failed \u2014 multi-thread rounds could not run", "0 threads", false},
        {"nothing works", 2, 0, 0, "Failed \u2014 no round could run", "0 threads", false},
    };
    for (const Case& c : cases) {
        FakeWorld world;
        world.startableThreads = c.startableThreads;
        // Steady rounds, each long enough for its calibration; threads that never started did no work.
        world.script.assign(12, Sample{2.0, c.singleOperations});
        const int ran = std::min(c.processors, c.startableThreads);
        world.script.resize(22, Sample{2.0, 1e6 * ran});
        const BenchRun measured = run(world.environment(c.processors), RunTargets{}, {});
        EXPECT_EQ(measured.result.status, c.status) << c.name;
        EXPECT_EQ(measured.result.threads, c.threads) << c.name;
        EXPECT_EQ(measured.result.multiThread > 0, c.multiScored) << c.name;
        EXPECT_EQ(measured.details.threadsRan, c.threads[0] - '0') << c.name;
    }
}

TEST(Run, CompletesOnThisMachineWithTinyTargets)
{
    const RunEnvironment live = liveEnvironment();
    const RunTargets tiny{.warmUpSeconds = 0.001, .singleRoundSeconds = 0.0001, .multiRoundSeconds = 0.0001,
                          .pauseSeconds = 0};
    const BenchResult result = run(live, tiny, {}).result;
    EXPECT_GT(result.singleThread, 0);
    EXPECT_GT(result.multiThread, 0);
    EXPECT_EQ(result.threads, std::to_string(workerCount(live.activeProcessors)) + " threads");
    EXPECT_TRUE(result.status == "Complete" || result.status == "Complete \u2014 variance detected") << result.status;
    EXPECT_TRUE(result.stability.starts_with("single CV ")) << result.stability;
    EXPECT_TRUE(result.singleTime.ends_with(" s avg")) << result.singleTime;
    EXPECT_TRUE(result.multiTime.ends_with(" Mops/s")) << result.multiTime;
}
