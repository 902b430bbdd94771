#include "bench/result_text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace veltrin;

TEST(BenchResultLines, PrintsEveryFieldInDeclarationOrder)
{
    const BenchResult result{
        .singleThread = 4321,
        .multiThread = -7,
        .status = "Complete \u2014 variance detected",
        .threads = "2 threads",
        .stability = "single CV 0.8% / multi CV 2.5%",
        .singleTime = "0.97 s avg",
        .multiTime = "1234.57 Mops/s",
        .method = "11 single / 9 multi rounds, trimmed mean, calibrated ~1s+ rounds",
    };
    EXPECT_EQ(benchResultLines(result), "singleThread: 4321\n"
                                        "multiThread: -7\n"
                                        "status: Complete \u2014 variance detected\n"
                                        "threads: 2 threads\n"
                                        "stability: single CV 0.8% / multi CV 2.5%\n"
                                        "singleTime: 0.97 s avg\n"
                                        "multiTime: 1234.57 Mops/s\n"
                                        "method: 11 single / 9 multi rounds, trimmed mean, calibrated ~1s+ rounds\n");
}

TEST(BenchProgressText, NamesThePhaseAndTheRound)
{
    using Benchmark::Phase;
    const std::vector<std::tuple<Phase, int, int, std::string>> cases{
        {Phase::warmUp, 0, 0, "warm-up"},
        {Phase::singleCalibration, 0, 0, "single calibration"},
        {Phase::single, 4, 11, "single 4/11"},
        {Phase::multiCalibration, 0, 0, "multi calibration"},
        {Phase::multi, 9, 9, "multi 9/9"},
    };
    for (const auto& [phase, round, total, text] : cases)
        EXPECT_EQ(benchProgressText(phase, round, total), text);
}
