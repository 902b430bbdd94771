#pragma once

// Plain-text and JSON renderings of a benchmark for the command line and the window.

#include "bench/benchmark.h"

#include <string>

namespace veltrin {

// Every field of the result as "field: value", one line each, in declaration order.
std::string benchResultLines(const BenchResult& result);

// Rounds as a JSON array of {"seconds":…,"trimmed":…} objects, in the order they ran.
std::string roundTimesJson(const std::vector<RoundTime>& rounds);

// The result's fields first, then the details: both CVs, the threads asked for
// and those that ran, and every round's time with its trimmed mark.
std::string benchRunJson(const BenchRun& run);

// Where a run stands: "warming up", "calibrating, single", "round 7 of 20, single",
// "round 12 of 20, multi" (the rounds of both series counted together).
std::string benchProgressText(Benchmark::Phase phase, int round);

} // namespace veltrin
