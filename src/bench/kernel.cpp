#include "bench/benchmark_detail.h"

#include <chrono>

namespace veltrin::Benchmark {
namespace {

constexpr std::int64_t kTimedBlockIterations = 40'000;

} // namespace

double monotonicSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Only the accumulator carries a dependency from one step to the next, so the
// loop is that chain with the mixing overlapped: no memory, no call, no branch.
std::uint64_t kernel(std::int64_t iterations, std::uint64_t seed)
{
    std::uint64_t x = seed + kStartOffset;
    std::uint64_t a = kAccumulatorStart;
    for (std::int64_t i = 0; i < iterations; ++i) {
        a = accumulated(a, splitMixOutput(x));
        x += kStateIncrement;
    }
    return a;
}

std::uint64_t timedKernel(double seconds, std::uint64_t seed, const Clock& clock)
{
    const double deadline = clock() + seconds;
    std::uint64_t result = 0;
    std::uint64_t block = 0;
    double now = 0;
    do {
        result ^= kernel(kTimedBlockIterations, seed + block * kStateIncrement);
        now = clock();
        ++block;
    } while (now < deadline);
    return result;
}

// A volatile write is observable behaviour the optimiser must keep. (An empty
// write to standard error would not do: compilers fold fputs("") away, and the
// comparison guarding it with it.)
void keepObservable(std::uint64_t checksum)
{
    volatile std::uint64_t kept = checksum;
    static_cast<void>(kept);
}

} // namespace veltrin::Benchmark
