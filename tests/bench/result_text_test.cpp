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

TEST(BenchRunJson, AddsTheDetailsAfterTheResultFields)
{
    const BenchRun run{
        .result = {12, 34, "Complete", "2 threads", "s", "t", "m", "x"},
        .details = {.singleRounds = {{0.9731234, false}, {1.5, true}},
                    .multiRounds = {{1.25, false}},
                    .singleCV = 0.8412,
                    .multiCV = 2.46,
                    .threadsRequested = 4,
                    .threadsRan = 2},
    };
    EXPECT_EQ(benchRunJson(run),
              "{\"singleThread\":12,\"multiThread\":34,\"status\":\"Complete\",\"threads\":\"2 threads\","
              "\"stability\":\"s\",\"singleTime\":\"t\",\"multiTime\":\"m\",\"method\":\"x\","
              "\"singleCV\":0.841,\"multiCV\":2.460,\"threadsRequested\":4,\"threadsRan\":2,"
              "\"singleRounds\":[{\"seconds\":0.973123,\"trimmed\":false},{\"seconds\":1.500000,\"trimmed\":true}],"
              "\"multiRounds\":[{\"seconds\":1.250000,\"trimmed\":false}]}");
}

TEST(BenchProgressText, CountsTheRoundsOfBothSeriesTogether)
{
    using Benchmark::Phase;
    const std::vector<std::tuple<Phase, int, std::string>> cases{
        {Phase::warmUp, 0, "warming up"},
        {Phase::singleCalibration, 0, "calibrating, single"},
        {Phase::single, 4, "round 4 of 20, single"},
        {Phase::multiCalibration, 0, "calibrating, multi"},
        {Phase::multi, 1, "round 12 of 20, multi"},
        {Phase::multi, 9, "round 20 of 20, multi"},
    };
    for (const auto& [phase, round, text] : cases)
        EXPECT_EQ(benchProgressText(phase, round), text);
}
