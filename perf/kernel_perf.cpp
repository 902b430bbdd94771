// The workload's speed against the bound its own dependency chain sets.
//
// Each step of the kernel carries only the accumulator (XOR, rotate, add) into
// the next; everything else overlaps with that chain. AccumulatorChain runs the
// chain alone, fed by nothing but the state increment, so its rate is the
// fastest this processor can run the kernel; Kernel should come within 5% of it.
// Compare items_per_second of the two (single thread each).

#include "bench/benchmark_detail.h"

#include <benchmark/benchmark.h>

#include <bit>
#include <cstdint>

namespace {

constexpr std::int64_t kIterationsPerCall = 1 << 22;

void Kernel(benchmark::State& state)
{
    std::uint64_t seed = 0x123456789ABCDEF0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(seed);
        benchmark::DoNotOptimize(veltrin::Benchmark::kernel(kIterationsPerCall, seed));
    }
    state.SetItemsProcessed(state.iterations() * kIterationsPerCall);
}

// The kernel's loop with the SplitMix output replaced by the state itself.
[[gnu::noinline]] std::uint64_t accumulatorChain(std::int64_t iterations, std::uint64_t seed)
{
    std::uint64_t x = seed + 0x3C6EF372FE94F82A;
    std::uint64_t a = 0xD1B54A32D192ED03;
    for (std::int64_t i = 0; i < iterations; ++i) {
        a = std::rotr(a ^ x, 57) + 0xA0761D6478BD642F;
        x += 0x9E3779B97F4A7C15;
    }
    return a;
}

void AccumulatorChain(benchmark::State& state)
{
    std::uint64_t seed = 0x123456789ABCDEF0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(seed);
        benchmark::DoNotOptimize(accumulatorChain(kIterationsPerCall, seed));
    }
    state.SetItemsProcessed(state.iterations() * kIterationsPerCall);
}

} // namespace

BENCHMARK(AccumulatorChain);
BENCHMARK(Kernel);
