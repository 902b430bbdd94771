#include "bench/benchmark_detail.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

namespace veltrin::Benchmark {
namespace {

constexpr std::uint64_t kRoundSeedStep = 0x9E3779B97F4A7C15;
constexpr std::uint64_t kWarmUpSeed = 0x123456789ABCDEF0;
constexpr std::uint64_t kSingleCalibrationSeed = 0xBADC0FFEEE000001;
constexpr std::uint64_t kMultiCalibrationSeed = 0xC001D00DEE000002;
constexpr std::uint64_t kSingleRoundSeed = 0xA5A55A5A11110001;
constexpr std::uint64_t kMultiRoundSeed = 0x5A5AA5A522220002;
constexpr int kSingleRounds = 11;
constexpr int kMultiRounds = 9;
constexpr const char* kMethod = "11 single / 9 multi rounds, trimmed mean, calibrated ~1s+ rounds";

struct Series {
    Phase phase;
    int rounds;
    std::uint64_t baseSeed; // round r uses baseSeed + r × kRoundSeedStep
};

constexpr Series kSingleSeries{Phase::single, kSingleRounds, kSingleRoundSeed};
constexpr Series kMultiSeries{Phase::multi, kMultiRounds, kMultiRoundSeed};

// Outliers are trimmed afterwards, never measured again, so every series has
// exactly its number of rounds; the list is sized before the first one.
std::vector<Sample> measuredSeries(const Series& series, std::int64_t iterations, int workers,
                                   const RunEnvironment& environment, double pauseSeconds,
                                   const Progress& progress)
{
    std::vector<Sample> samples;
    samples.reserve(static_cast<std::size_t>(series.rounds));
    for (int round = 1; round <= series.rounds; ++round) {
        progress(series.phase, round, series.rounds);
        samples.push_back(environment.measure(iterations, workers,
                                              series.baseSeed + static_cast<std::uint64_t>(round) * kRoundSeedStep));
        if (round < series.rounds)
            environment.pause(pauseSeconds);
    }
    return samples;
}

} // namespace

RunEnvironment liveEnvironment()
{
    return {
        .activeProcessors = static_cast<int>(std::min<unsigned>(std::thread::hardware_concurrency(), INT_MAX)),
        .warmUp = [](double seconds, std::uint64_t seed) { keepObservable(timedKernel(seconds, seed)); },
        .measure = [](std::int64_t iterations, int workers, std::uint64_t seed) {
            return measure(iterations, workers, seed);
        },
        .pause = [](double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); },
    };
}

BenchResult run(const RunEnvironment& environment, const RunTargets& targets, const Progress& progress)
{
    const Progress tell = progress ? progress : [](Phase, int, int) {};
    const int workers = workerCount(environment.activeProcessors);

    tell(Phase::warmUp, 0, 0);
    environment.warmUp(targets.warmUpSeconds, kWarmUpSeed);

    tell(Phase::singleCalibration, 0, 0);
    const std::int64_t singleIterations =
        calibratedIterations(targets.singleRoundSeconds, 1, kSingleCalibrationSeed, environment.measure);
    const std::vector<Sample> single =
        measuredSeries(kSingleSeries, singleIterations, 1, environment, targets.pauseSeconds, tell);
    const double singleRate = robustMeanRate(single);
    const double singleCV = coefficientOfVariationPercent(single);

    tell(Phase::multiCalibration, 0, 0);
    const std::int64_t multiIterations =
        calibratedIterations(targets.multiRoundSeconds, workers, kMultiCalibrationSeed, environment.measure);
    const std::vector<Sample> multi =
        measuredSeries(kMultiSeries, multiIterations, workers, environment, targets.pauseSeconds, tell);
    const double multiRate = robustMeanRate(multi);
    const double multiCV = coefficientOfVariationPercent(multi);

    return {
        .singleThread = score(singleRate),
        .multiThread = score(multiRate),
        .status = statusText(singleCV, multiCV),
        .threads = std::to_string(workers) + " threads",
        .stability = stabilityText(singleCV, multiCV),
        .singleTime = singleTimeText(robustMeanSeconds(single)),
        .multiTime = multiTimeText(multiRate),
        .method = kMethod,
    };
}

BenchResult run(const Progress& progress) { return run(liveEnvironment(), RunTargets{}, progress); }

} // namespace veltrin::Benchmark
