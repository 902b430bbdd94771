#include "bench/benchmark_detail.h"

#include "platform/usable_processors.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace veltrin::Benchmark {
namespace {

constexpr std::uint64_t kRoundSeedStep = 0x9E3779B97F4A7C15;
constexpr std::uint64_t kWarmUpSeed = 0x123456789ABCDEF0;
constexpr std::uint64_t kSingleCalibrationSeed = 0xBADC0FFEEE000001;
constexpr std::uint64_t kMultiCalibrationSeed = 0xC001D00DEE000002;
constexpr std::uint64_t kSingleRoundSeed = 0xA5A55A5A11110001;
constexpr std::uint64_t kMultiRoundSeed = 0x5A5AA5A522220002;
constexpr const char* kMethod = "11 single / 9 multi rounds, trimmed mean, calibrated ~1s+ rounds";

struct Series {
    Phase phase;
    int rounds;
    std::uint64_t baseSeed; // round r uses baseSeed + r × kRoundSeedStep
};

constexpr Series kSingleSeries{Phase::single, kSingleRounds, kSingleRoundSeed};
constexpr Series kMultiSeries{Phase::multi, kMultiRounds, kMultiRoundSeed};

struct Measurements {
    std::vector<Sample> samples;
    int fewestWorkers = 0; // over every round of the series
};

// Outliers are trimmed afterwards, never measured again, so every series has
// exactly its number of rounds; the list is sized before the first one.
Measurements measuredSeries(const Series& series, std::int64_t iterations, int workers,
                            const RunEnvironment& environment, double pauseSeconds, const Progress& progress)
{
    Measurements measured;
    measured.samples.reserve(static_cast<std::size_t>(series.rounds));
    measured.fewestWorkers = workers;
    for (int round = 1; round <= series.rounds; ++round) {
        progress(series.phase, round, series.rounds);
        const Measured result = environment.measure(
            iterations, workers, series.baseSeed + static_cast<std::uint64_t>(round) * kRoundSeedStep);
        measured.samples.push_back(result.sample);
        measured.fewestWorkers = std::min(measured.fewestWorkers, result.workers);
        if (round < series.rounds)
            environment.pause(pauseSeconds);
    }
    return measured;
}

std::vector<RoundTime> roundTimes(const std::vector<Sample>& samples)
{
    std::vector<RoundTime> rounds;
    for (const Sample& sample : samples)
        rounds.push_back({sample.seconds, true});
    for (const std::size_t kept : keptRounds(samples))
        rounds[kept].trimmed = false;
    return rounds;
}

} // namespace

RunEnvironment liveEnvironment()
{
    return {
        .activeProcessors = usableProcessorCount(),
        .warmUp = [](double seconds, std::uint64_t seed) { keepObservable(timedKernel(seconds, seed)); },
        .measure = [](std::int64_t iterations, int workers, std::uint64_t seed) {
            return measure(iterations, workers, seed);
        },
        .pause = [](double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); },
    };
}

BenchRun run(const RunEnvironment& environment, const RunTargets& targets, const Progress& progress)
{
    const Progress tell = progress ? progress : [](Phase, int, int) {};
    const int workers = workerCount(environment.activeProcessors);

    tell(Phase::warmUp, 0, 0);
    environment.warmUp(targets.warmUpSeconds, kWarmUpSeed);

    tell(Phase::singleCalibration, 0, 0);
    const std::int64_t singleIterations =
        calibratedIterations(targets.singleRoundSeconds, 1, kSingleCalibrationSeed, environment.measure);
    const Measurements single =
        measuredSeries(kSingleSeries, singleIterations, 1, environment, targets.pauseSeconds, tell);
    const double singleRate = robustMeanRate(single.samples);
    const double singleCV = coefficientOfVariationPercent(single.samples);

    tell(Phase::multiCalibration, 0, 0);
    const std::int64_t multiIterations =
        calibratedIterations(targets.multiRoundSeconds, workers, kMultiCalibrationSeed, environment.measure);
    const Measurements multi =
        measuredSeries(kMultiSeries, multiIterations, workers, environment, targets.pauseSeconds, tell);
    const double multiRate = robustMeanRate(multi.samples);
    const double multiCV = coefficientOfVariationPercent(multi.samples);

    // A series without a single round of work has no score to stand on, and
    // threads that never started did no work: both are said, not hidden.
    const Outcome outcome{
        .singleScored = !keptRounds(single.samples).empty(),
        .multiScored = !keptRounds(multi.samples).empty(),
        .threadsRequested = workers,
        .threadsRan = multi.fewestWorkers,
    };
    return {
        .result =
            {
                .singleThread = score(singleRate),
                .multiThread = score(multiRate),
                .status = statusText(outcome, singleCV, multiCV),
                .threads = std::to_string(outcome.threadsRan) + " threads",
                .stability = stabilityText(singleCV, multiCV),
                .singleTime = singleTimeText(robustMeanSeconds(single.samples)),
                .multiTime = multiTimeText(multiRate),
                .method = kMethod,
            },
        .details =
            {
                .singleRounds = roundTimes(single.samples),
                .multiRounds = roundTimes(multi.samples),
                .singleCV = singleCV,
                .multiCV = multiCV,
                .threadsRequested = workers,
                .threadsRan = outcome.threadsRan,
            },
    };
}

BenchRun runWithDetails(const Progress& progress) { return run(liveEnvironment(), RunTargets{}, progress); }

BenchResult run(const Progress& progress) { return runWithDetails(progress).result; }

} // namespace veltrin::Benchmark
