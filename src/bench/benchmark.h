#pragma once

// The CPU benchmark: a fixed integer workload timed on one core and on all of
// them, with trimmed statistics turning the rounds into two scores.

#include "core/records.h"

#include <functional>
#include <vector>

namespace veltrin {

// One measured round as the run saw it.
struct RoundTime {
    double seconds = 0;
    bool trimmed = false; // left out of the score: an outlier, or a round without work
    friend bool operator==(const RoundTime&, const RoundTime&) = default;
};

// What a run measured besides its result: the time of every round, the spreads
// behind the stability text, and how many threads the multi-thread rounds asked
// for and how many of them actually worked.
struct BenchDetails {
    std::vector<RoundTime> singleRounds;
    std::vector<RoundTime> multiRounds;
    double singleCV = 0;
    double multiCV = 0;
    int threadsRequested = 0;
    int threadsRan = 0;
    friend bool operator==(const BenchDetails&, const BenchDetails&) = default;
};

struct BenchRun {
    BenchResult result;
    BenchDetails details;
};

namespace Benchmark {

enum class Phase { warmUp, singleCalibration, single, multiCalibration, multi };

inline constexpr int kSingleRounds = 11;
inline constexpr int kMultiRounds = 9;

// Called before each step of a run with its phase; for the measured series also
// with the round about to run (from 1) and the number of rounds, else 0 and 0.
using Progress = std::function<void(Phase phase, int round, int total)>;

// One complete benchmark of this computer. Blocks the calling thread for about
// half a minute, so it belongs on a background thread, never an interface one.
BenchRun runWithDetails(const Progress& progress = {});
BenchResult run(const Progress& progress = {});

} // namespace Benchmark
} // namespace veltrin
