#pragma once

// The parts of the benchmark behind run(), open to the tests. Clock, round
// measurement, warm-up and pause are passed in, so tests can drive every step
// with fakes while production keeps the real ones and every constant.

#include "bench/benchmark.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace veltrin::Benchmark {

struct Sample {
    double seconds = 0;    // length of one measured round
    double operations = 0; // kernel iterations in that round, all workers together
};

// Seconds on a monotonic clock; only differences of two readings mean anything.
using Clock = std::function<double()>;
double monotonicSeconds();

// A round's sample and how many of the workers it asked for actually ran: a
// system that refuses threads leaves fewer, or none.
struct Measured {
    Sample sample;
    int workers = 0;
};

using Measure = std::function<Measured(std::int64_t iterations, int workers, std::uint64_t seed)>;

inline constexpr std::uint64_t kStateIncrement = 0x9E3779B97F4A7C15; // golden-ratio step
inline constexpr std::uint64_t kStartOffset = 0x3C6EF372FE94F82A;    // added to the seed
inline constexpr std::uint64_t kAccumulatorStart = 0xD1B54A32D192ED03;

// The SplitMix64 output of the state: work that depends on nothing earlier.
constexpr std::uint64_t splitMixOutput(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
    return z ^ (z >> 31);
}

// One step of the accumulator (XOR, rotate, add): the workload's only dependency chain.
constexpr std::uint64_t accumulated(std::uint64_t accumulator, std::uint64_t z)
{
    return std::rotr(accumulator ^ z, 57) + 0xA0761D6478BD642F;
}

// The workload: `iterations` steps from `seed`, returning the accumulator.
std::uint64_t kernel(std::int64_t iterations, std::uint64_t seed);

// Runs the workload in blocks of 40,000 iterations until `seconds` have passed
// (at least one block) and returns the XOR of the block checksums.
std::uint64_t timedKernel(double seconds, std::uint64_t seed, const Clock& clock = monotonicSeconds);

// Makes a checksum an observable result, so no optimiser may drop the work behind it.
void keepObservable(std::uint64_t checksum);

struct Round {
    Sample sample;
    std::vector<std::uint64_t> checksums; // one per worker, in the order they finished
};

// One round of `workers` kernels of `iterations` each; worker i starts from seed + i.
// With one worker it runs on the calling thread; with several, every worker is
// parked at a start gate before the first clock reading.
Round timedRound(std::int64_t iterations, int workers, std::uint64_t seed, const Clock& clock);

// timedRound with every checksum kept observable.
Measured measure(std::int64_t iterations, int workers, std::uint64_t seed, const Clock& clock = monotonicSeconds);

// A per-worker iteration count for which one round lasts at least `targetSeconds`,
// never below the start count and never above 160,000,000.
std::int64_t calibratedIterations(double targetSeconds, int workers, std::uint64_t seed, const Measure& measure);

// The indices of the rounds whose rates are kept after dropping empty rounds and
// outliers, in ascending order of rate.
std::vector<std::size_t> keptRounds(const std::vector<Sample>& samples);
// The per-round rates kept after dropping empty rounds and outliers, ascending.
std::vector<double> robustRates(const std::vector<Sample>& samples);
double robustMeanRate(const std::vector<Sample>& samples);
// Round durations trimmed on their own, independently of the rates.
double robustMeanSeconds(const std::vector<Sample>& samples);
double coefficientOfVariationPercent(const std::vector<Sample>& samples);

int workerCount(int activeProcessors);
std::int64_t score(double rate);
std::string statusText(double singleCV, double multiCV);

// What the run could do: every series scored with all its threads, a series
// that could not run at all, or multi-thread rounds with fewer threads than asked.
struct Outcome {
    bool singleScored = true;
    bool multiScored = true;
    int threadsRequested = 1;
    int threadsRan = 1;
};
// The normal texts when everything ran; an honest one when it did not.
std::string statusText(const Outcome& outcome, double singleCV, double multiCV);
std::string stabilityText(double singleCV, double multiCV);
std::string singleTimeText(double seconds);
std::string multiTimeText(double rate);

struct RunTargets {
    double warmUpSeconds = 0.35;
    double singleRoundSeconds = 0.95;
    double multiRoundSeconds = 1.2;
    double pauseSeconds = 0.035;
};

// What a run takes from the world.
struct RunEnvironment {
    int activeProcessors = 1;
    std::function<void(double seconds, std::uint64_t seed)> warmUp;
    Measure measure;
    std::function<void(double seconds)> pause;
};

RunEnvironment liveEnvironment();
BenchRun run(const RunEnvironment& environment, const RunTargets& targets, const Progress& progress);

} // namespace veltrin::Benchmark
