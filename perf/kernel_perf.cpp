// The workload's speed against the bounds its parts set, single thread.
//
// Each step of the kernel carries only the accumulator (XOR, rotate, add) into
// the next; the SplitMix output it folds in depends on nothing earlier and can
// overlap with that chain. AccumulatorChain runs the chain alone, fed by the
// state itself: its items_per_second is the fastest the kernel could go, and
// Kernel should come within 5% of it. MixingAlone runs the independent work
// without the chain (a one-cycle add collects it): when it is barely faster than
// the chain, the core has no room left to hide it and the kernel falls short of
// the chain bound for lack of execution units, not because of its code.

#include "bench/benchmark_detail.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

using namespace veltrin::Benchmark;

constexpr std::int64_t kIterationsPerCall = 1 << 22;

[[gnu::noinline]] std::uint64_t accumulatorChain(std::int64_t iterations, std::uint64_t seed)
{
    std::uint64_t x = seed + kStartOffset;
    std::uint64_t a = kAccumulatorStart;
    for (std::int64_t i = 0; i < iterations; ++i) {
        a = accumulated(a, x);
        x += kStateIncrement;
    }
    return a;
}

[[gnu::noinline]] std::uint64_t mixingAlone(std::int64_t iterations, std::uint64_t seed)
{
    std::uint64_t x = seed + kStartOffset;
    std::uint64_t sum = 0;
    for (std::int64_t i = 0; i < iterations; ++i) {
        sum += splitMixOutput(x);
        x += kStateIncrement;
    }
    return sum;
}

template <std::uint64_t (*loop)(std::int64_t, std::uint64_t)>
void itemsPerSecond(benchmark::State& state)
{
    std::uint64_t seed = 0x123456789ABCDEF0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(seed);
        benchmark::DoNotOptimize(loop(kIterationsPerCall, seed));
    }
    state.SetItemsProcessed(state.iterations() * kIterationsPerCall);
}

void AccumulatorChain(benchmark::State& state) { itemsPerSecond<accumulatorChain>(state); }
void MixingAlone(benchmark::State& state) { itemsPerSecond<mixingAlone>(state); }
void Kernel(benchmark::State& state) { itemsPerSecond<kernel>(state); }

} // namespace

BENCHMARK(AccumulatorChain);
BENCHMARK(MixingAlone);
BENCHMARK(Kernel);
