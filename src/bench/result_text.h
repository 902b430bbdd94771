#pragma once

// Plain-text renderings of a benchmark for the command line.

#include "bench/benchmark.h"

#include <string>

namespace veltrin {

// Every field of the result as "field: value", one line each, in declaration order.
std::string benchResultLines(const BenchResult& result);

// Where a run stands, e.g. "single 4/11" or "multi calibration".
std::string benchProgressText(Benchmark::Phase phase, int round, int total);

} // namespace veltrin
