#include "bench/benchmark_detail.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

using namespace veltrin::Benchmark;

namespace {

// Rounds of one second each, so every sample's rate is its operation count.
std::vector<Sample> roundsWithRates(const std::vector<double>& rates)
{
    std::vector<Sample> samples;
    for (const double rate : rates)
        samples.push_back({1.0, rate});
    return samples;
}

std::vector<Sample> roundsLasting(const std::vector<double>& seconds)
{
    std::vector<Sample> samples;
    for (const double duration : seconds)
        samples.push_back({duration, 1000.0});
    return samples;
}

} // namespace

TEST(RobustRates, DropsOutliersByHowManyRoundsThereAreAndAveragesTheRest)
{
    const std::vector<std::tuple<std::vector<double>, std::vector<double>, double>> cases{
        {{}, {}, 0},
        {{3, 1, 4, 2}, {1, 2, 3, 4}, 2.5},
        {{5, 1, 4, 2, 3}, {2, 3, 4}, 3},
        {{8, 1, 7, 2, 6, 3, 5, 4}, {2, 3, 4, 5, 6, 7}, 4.5},
        {{9, 1, 8, 2, 7, 3, 6, 4, 5}, {3, 4, 5, 6, 7}, 5},
        {{11, 6, 1, 10, 2, 9, 3, 8, 4, 7, 5}, {3, 4, 5, 6, 7, 8, 9}, 6},
        {{100, 1, 2, 3, 4, 1000000}, {2, 3, 4, 100}, 27.25},
    };
    for (const auto& [rates, kept, mean] : cases) {
        EXPECT_EQ(robustRates(roundsWithRates(rates)), kept) << rates.size() << " rounds";
        EXPECT_DOUBLE_EQ(robustMeanRate(roundsWithRates(rates)), mean) << rates.size() << " rounds";
    }
}

TEST(RobustRates, FloorsTheDurationAndDropsRoundsWithoutWork)
{
    const std::vector<std::pair<Sample, std::vector<double>>> cases{
        {{0.0, 1000}, {1e9}},
        {{-2.0, 1000}, {1e9}},
        {{0.0000005, 1000}, {1e9}},
        {{0.5, 1000}, {2000}},
        {{1.0, 0}, {}},
        {{1.0, -10}, {}},
        {{0.0, 0}, {}},
    };
    for (const auto& [sample, rates] : cases)
        EXPECT_EQ(robustRates({sample}), rates) << sample.seconds << " s, " << sample.operations << " ops";
}

TEST(RobustMeanSeconds, TrimsDurationsOnTheirOwn)
{
    const std::vector<std::pair<std::vector<double>, double>> cases{
        {{}, 0},
        {{0, -1, 0}, 0},
        {{2.0, 0, -1}, 2.0},
        {{1.0, 2.0, 4.0, 5.0}, 3.0},
        {{9.0, 1.0, 2.0, 3.0, 0.5}, 2.0},
        {{1, 2, 3, 4, 5, 6, 7, 8, 100}, 5.0},
        {{0.973, 0.973, 0.973, 0.973, 0.973, 0.973, 0.973, 0.973, 0.973, 0.1, 50}, 0.973},
    };
    for (const auto& [seconds, expected] : cases)
        EXPECT_DOUBLE_EQ(robustMeanSeconds(roundsLasting(seconds)), expected) << seconds.size() << " rounds";
}

TEST(RobustMeanSeconds, KeepsRoundsTheRatesDropped)
{
    // The middle round's rate is the outlier, yet its duration is ordinary and counts.
    const std::vector<Sample> samples{{1.0, 10}, {2.0, 20}, {3.0, 3000}, {4.0, 40}, {5.0, 50}};
    EXPECT_EQ(robustRates(samples), (std::vector<double>{10, 10, 10}));
    EXPECT_DOUBLE_EQ(robustMeanSeconds(samples), 3.0);
}

TEST(CoefficientOfVariation, IsTheSampleSpreadOfTheKeptRatesInPercent)
{
    const std::vector<std::pair<std::vector<double>, double>> cases{
        {{}, 0},
        {{5}, 0},
        {{7, 7, 7, 7, 7}, 0},
        {{1, 2, 3}, 50},
        {{0, 0, 4, 6}, 100 * std::sqrt(2.0) / 5},
        {{1000, 1, 2, 3, 0.001}, 50},
    };
    for (const auto& [rates, expected] : cases)
        EXPECT_NEAR(coefficientOfVariationPercent(roundsWithRates(rates)), expected, 1e-12) << rates.size();
}

TEST(Score, RoundsPointsHalfAwayFromZero)
{
    const std::vector<std::pair<double, std::int64_t>> cases{
        {1'875'000, 13},
        {1'874'999, 12},
        {225'000, 2},
        {75'000, 1},
        {0, 0},
        {1'234'567'890, 8230},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 0},
        {1e30, 0},
    };
    for (const auto& [rate, points] : cases)
        EXPECT_EQ(score(rate), points) << rate;
}

TEST(WorkerCount, ClampsTheActiveProcessorsToOneThroughThirtyTwo)
{
    const std::vector<std::pair<int, int>> cases{{0, 1}, {-4, 1}, {1, 1}, {2, 2}, {32, 32}, {33, 32}, {64, 32}};
    for (const auto& [processors, workers] : cases)
        EXPECT_EQ(workerCount(processors), workers) << processors;
}

TEST(ResultTexts, ReportVarianceAboveEitherLimitAndUseFixedDecimalsWithAPoint)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {statusText(0.0, 0.0), "Complete"},
        {statusText(3.5, 5.0), "Complete"},
        {statusText(3.51, 0.0), "Complete \u2014 variance detected"},
        {statusText(0.0, 5.01), "Complete \u2014 variance detected"},
        {stabilityText(0.84, 2.46), "single CV 0.8% / multi CV 2.5%"},
        {stabilityText(0, 12.345), "single CV 0.0% / multi CV 12.3%"},
        {singleTimeText(0.973), "0.97 s avg"},
        {singleTimeText(1.005), "1.00 s avg"},
        {singleTimeText(12), "12.00 s avg"},
        {multiTimeText(1'234'567'890), "1234.57 Mops/s"},
        {multiTimeText(0), "0.00 Mops/s"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(text, expected);
}
