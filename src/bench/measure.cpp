#include "bench/benchmark_detail.h"

#include <algorithm>
#include <latch>
#include <mutex>
#include <semaphore>
#include <system_error>
#include <thread>

namespace veltrin::Benchmark {
namespace {

constexpr std::int64_t kSingleWorkerStart = 160'000;
constexpr std::int64_t kSeveralWorkersStart = 90'000;
constexpr int kCalibrationPasses = 12;
constexpr double kShortestTrustedSeconds = 0.001;
constexpr double kSmallestGrowth = 1.25;
constexpr double kLargestGrowth = 2.6;
constexpr std::int64_t kMostIterations = 160'000'000;

Round singleWorkerRound(std::int64_t iterations, std::uint64_t seed, const Clock& clock)
{
    const double t0 = clock();
    const std::uint64_t checksum = kernel(iterations, seed);
    const double t1 = clock();
    return {{t1 - t0, static_cast<double>(iterations)}, {checksum}};
}

// Every worker is started and parked at the gate before t0 is read, so thread
// start-up stays outside the round; the gate then releases them together.
Round severalWorkersRound(std::int64_t iterations, int workers, std::uint64_t seed, const Clock& clock)
{
    std::counting_semaphore<> gate(0);
    std::latch parked(workers);
    std::latch finished(workers);
    std::mutex checksumsLock;
    std::vector<std::uint64_t> checksums;
    checksums.reserve(static_cast<std::size_t>(workers));

    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(workers));
    try {
        for (int i = 0; i < workers; ++i) {
            threads.emplace_back([&, i] {
                parked.count_down();
                gate.acquire();
                const std::uint64_t checksum = kernel(iterations, seed + static_cast<std::uint64_t>(i));
                {
                    const std::lock_guard lock(checksumsLock);
                    checksums.push_back(checksum);
                }
                finished.count_down();
            });
        }
    } catch (const std::system_error&) {
        // Out of threads: the round runs with the workers that did start and
        // counts only their work, instead of waiting forever for the others.
    }
    const int started = static_cast<int>(threads.size());
    parked.count_down(workers - started);
    finished.count_down(workers - started);

    parked.wait();
    const double t0 = clock();
    gate.release(started);
    finished.wait();
    const double t1 = clock();
    // Every worker has counted down; joining only waits for its thread to wind up.
    for (std::thread& thread : threads)
        thread.join();
    return {{t1 - t0, static_cast<double>(iterations) * started}, std::move(checksums)};
}

} // namespace

Round timedRound(std::int64_t iterations, int workers, std::uint64_t seed, const Clock& clock)
{
    if (workers == 1)
        return singleWorkerRound(iterations, seed, clock);
    return severalWorkersRound(iterations, std::max(workers, 0), seed, clock);
}

Measured measure(std::int64_t iterations, int workers, std::uint64_t seed, const Clock& clock)
{
    const Round round = timedRound(iterations, workers, seed, clock);
    std::uint64_t combined = 0;
    for (const std::uint64_t checksum : round.checksums)
        combined ^= checksum;
    keepObservable(combined);
    // One checksum per worker that ran.
    return {round.sample, static_cast<int>(round.checksums.size())};
}

std::int64_t calibratedIterations(double targetSeconds, int workers, std::uint64_t seed, const Measure& measure)
{
    const std::int64_t start = workers == 1 ? kSingleWorkerStart : kSeveralWorkersStart;
    std::int64_t n = start;
    for (int pass = 0; pass < kCalibrationPasses; ++pass) {
        const double seconds = measure(n, workers, seed + static_cast<std::uint64_t>(pass)).sample.seconds;
        if (seconds >= targetSeconds)
            return std::max(start, n);
        // Durations under a millisecond are too coarse to extrapolate from.
        const double ratio = targetSeconds / (seconds <= kShortestTrustedSeconds ? kShortestTrustedSeconds : seconds);
        const double factor = ratio <= kSmallestGrowth ? kSmallestGrowth : std::min(ratio, kLargestGrowth);
        n = std::min(std::max(n + 1, static_cast<std::int64_t>(factor * static_cast<double>(n))), kMostIterations);
    }
    return std::max(start, n);
}

} // namespace veltrin::Benchmark
