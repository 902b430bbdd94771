#include "bench/benchmark_detail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <tuple>
#include <vector>

using namespace veltrin::Benchmark;

namespace {

// Hands out the given readings in order, then the far future (so a loop that
// reads too often ends and fails instead of hanging), and counts the reads.
struct ScriptedClock {
    std::vector<double> readings;
    int reads = 0;

    Clock clock()
    {
        return [this] {
            const auto index = static_cast<std::size_t>(reads++);
            return index < readings.size() ? readings[index] : std::numeric_limits<double>::infinity();
        };
    }
};

std::vector<std::uint64_t> sorted(std::vector<std::uint64_t> values)
{
    std::sort(values.begin(), values.end());
    return values;
}

} // namespace

TEST(Kernel, ReproducesKnownChecksums)
{
    const std::vector<std::tuple<std::int64_t, std::uint64_t, std::uint64_t>> cases{
        {0, 0, 0xD1B54A32D192ED03},
        {0, 0x123456789ABCDEF0, 0xD1B54A32D192ED03},
        {0, 0xFFFFFFFFFFFFFFFF, 0xD1B54A32D192ED03},
        {1, 0, 0x8760499C8E81E00E},
        {2, 0, 0x72805F6BBD1004EF},
        {1000, 0, 0xB4C31BC72D987679},
        {1000, 0x123456789ABCDEF0, 0xE10AAE7D7B3B5730},
    };
    for (const auto& [iterations, seed, expected] : cases)
        EXPECT_EQ(kernel(iterations, seed), expected) << iterations << " iterations from seed " << seed;
}

TEST(TimedKernel, RunsWholeBlocksUntilTheDeadlineReadingOnceABlock)
{
    constexpr std::uint64_t seed = 0x0123456789ABCDEF;
    const std::uint64_t firstBlock = kernel(40000, seed);
    const std::uint64_t secondBlock = kernel(40000, seed + 0x9E3779B97F4A7C15);
    const std::uint64_t thirdBlock = kernel(40000, seed + 2 * 0x9E3779B97F4A7C15);
    struct Case {
        double seconds;
        std::vector<double> readings; // the first sets the deadline
        std::uint64_t expected;
    };
    const std::vector<Case> cases{
        {0.0, {5.0, 5.0}, firstBlock},
        {-1.0, {5.0, 5.0}, firstBlock},
        {0.5, {5.0, 5.6}, firstBlock},
        {1.0, {0.0, 0.5, 1.0}, firstBlock ^ secondBlock},
        {1.0, {0.0, 0.2, 0.999, 1.7}, firstBlock ^ secondBlock ^ thirdBlock},
    };
    for (const Case& c : cases) {
        ScriptedClock fake{c.readings};
        EXPECT_EQ(timedKernel(c.seconds, seed, fake.clock()), c.expected) << c.seconds << " s";
        EXPECT_EQ(fake.reads, static_cast<int>(c.readings.size())) << c.seconds << " s";
    }
}

TEST(Measure, CountsEveryWorkersIterationsBetweenTwoClockReadings)
{
    const std::vector<std::tuple<int, std::int64_t, double>> cases{
        {0, 1000, 0.0},
        {1, 1000, 1000.0},
        {1, 0, 0.0},
        {2, 500, 1000.0},
        {4, 1000, 4000.0},
    };
    for (const auto& [workers, iterations, operations] : cases) {
        ScriptedClock fake{{10.0, 12.5, 99.0}};
        const Measured measured = measure(iterations, workers, 7, fake.clock());
        EXPECT_EQ(measured.sample.operations, operations) << workers << " workers";
        EXPECT_EQ(measured.sample.seconds, 2.5) << workers << " workers";
        EXPECT_EQ(measured.workers, workers);
        EXPECT_EQ(fake.reads, 2) << workers << " workers";
    }
}

TEST(Measure, WorkerIStartsFromTheRoundSeedPlusI)
{
    constexpr std::uint64_t nearWrap = 0xFFFFFFFFFFFFFFFE;
    for (const std::uint64_t seed : {std::uint64_t{0x5A5AA5A522220002}, nearWrap}) {
        for (const int workers : {0, 1, 4}) {
            std::vector<std::uint64_t> expected;
            for (int i = 0; i < workers; ++i)
                expected.push_back(kernel(1000, seed + static_cast<std::uint64_t>(i)));
            const Round round = timedRound(1000, workers, seed, monotonicSeconds);
            EXPECT_EQ(sorted(round.checksums), sorted(expected)) << workers << " workers from " << seed;
        }
    }
}

namespace {

// Records the count and seed of every pass and answers with a duration that
// depends on the count.
struct FakeMeasure {
    std::function<double(std::int64_t)> seconds;
    std::vector<std::int64_t> counts{};
    std::vector<std::uint64_t> seeds{};

    Measure measure()
    {
        return [this](std::int64_t iterations, int, std::uint64_t seed) {
            counts.push_back(iterations);
            seeds.push_back(seed);
            return Measured{Sample{seconds(iterations), 0}, 1};
        };
    }
};

} // namespace

TEST(Calibration, GrowsFromTheStartCountByTheClampedRatioUpToTheCap)
{
    struct Case {
        const char* name;
        int workers;
        double target;
        std::function<double(std::int64_t)> seconds;
        std::vector<std::int64_t> measured;
        std::int64_t expected;
    };
    const auto lasting = [](double seconds) { return [seconds](std::int64_t) { return seconds; }; };
    const std::vector<Case> cases{
        {"a first pass of exactly the target suffices", 1, 0.95, lasting(0.95), {160000}, 160000},
        {"several workers start lower", 4, 1.2, lasting(1.3), {90000}, 90000},
        {"no workers count as several", 0, 1.2, lasting(1.3), {90000}, 90000},
        {"sub-millisecond passes grow by 2.6 up to the cap", 1, 0.95, lasting(0.0005),
         {160000, 416000, 1081600, 2812160, 7311616, 19010201, 49426522, 128508957, 160000000, 160000000,
          160000000, 160000000},
         160000000},
        {"a pass at 0.9 of the target grows by 1.25, never less", 1, 1.0,
         [](std::int64_t n) { return n < 200000 ? 0.9 : 1.0; }, {160000, 200000}, 200000},
        {"a ratio between the clamps is the factor", 4, 1.0, [](std::int64_t n) { return n < 180000 ? 0.5 : 1.0; },
         {90000, 180000}, 180000},
        {"a large ratio is capped at 2.6", 1, 1.0, [](std::int64_t n) { return n < 416000 ? 0.01 : 1.0; },
         {160000, 416000}, 416000},
        {"after twelve short passes the unmeasured thirteenth count is returned", 1, 1.0, lasting(0.9),
         {160000, 200000, 250000, 312500, 390625, 488281, 610351, 762938, 953672, 1192090, 1490112, 1862640},
         2328300},
    };
    for (const Case& c : cases) {
        FakeMeasure fake{c.seconds};
        EXPECT_EQ(calibratedIterations(c.target, c.workers, 1000, fake.measure()), c.expected) << c.name;
        EXPECT_EQ(fake.counts, c.measured) << c.name;
        for (std::size_t pass = 0; pass < fake.seeds.size(); ++pass)
            EXPECT_EQ(fake.seeds[pass], 1000 + pass) << c.name;
    }
}
