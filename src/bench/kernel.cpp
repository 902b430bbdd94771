#include "bench/benchmark_detail.h"

#include <bit>
#include <chrono>

namespace veltrin::Benchmark {
namespace {

constexpr std::uint64_t kIncrement = 0x9E3779B97F4A7C15; // golden-ratio step of the state
constexpr std::uint64_t kStartOffset = 0x3C6EF372FE94F82A;
constexpr std::uint64_t kAccumulatorStart = 0xD1B54A32D192ED03;
constexpr std::uint64_t kFirstMultiplier = 0xBF58476D1CE4E5B9;
constexpr std::uint64_t kSecondMultiplier = 0x94D049BB133111EB;
constexpr std::uint64_t kAccumulatorAddend = 0xA0761D6478BD642F;
constexpr int kAccumulatorRotation = 57;
constexpr std::int64_t kTimedBlockIterations = 40'000;

} // namespace

double monotonicSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The SplitMix64 output of the state is independent work per step; only the
// accumulator (XOR, rotate, add) carries a dependency from one step to the next,
// so the loop costs that chain and nothing else: no memory, no call, no branch.
std::uint64_t kernel(std::int64_t iterations, std::uint64_t seed)
{
    std::uint64_t x = seed + kStartOffset;
    std::uint64_t a = kAccumulatorStart;
    for (std::int64_t i = 0; i < iterations; ++i) {
        std::uint64_t z = x;
        z = (z ^ (z >> 30)) * kFirstMultiplier;
        z = (z ^ (z >> 27)) * kSecondMultiplier;
        z = z ^ (z >> 31);
        a = std::rotr(a ^ z, kAccumulatorRotation) + kAccumulatorAddend;
        x += kIncrement;
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
        result ^= kernel(kTimedBlockIterations, seed + block * kIncrement);
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
