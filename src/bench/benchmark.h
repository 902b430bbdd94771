#pragma once

// The CPU benchmark: a fixed integer workload timed on one core and on all of
// them, with trimmed statistics turning the rounds into two scores.

#include "core/records.h"

#include <functional>

namespace veltrin::Benchmark {

enum class Phase { warmUp, singleCalibration, single, multiCalibration, multi };

// Called before each step of a run with its phase; for the measured series also
// with the round about to run (from 1) and the number of rounds, else 0 and 0.
using Progress = std::function<void(Phase phase, int round, int total)>;

// One complete benchmark of this computer. Blocks the calling thread for about
// half a minute, so it belongs on a background thread, never an interface one.
BenchResult run(const Progress& progress = {});

} // namespace veltrin::Benchmark
