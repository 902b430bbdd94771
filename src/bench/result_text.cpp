#include "bench/result_text.h"

#include <array>
#include <string_view>
#include <tuple>
#include <utility>

namespace veltrin {
namespace {

constexpr std::array<std::pair<Benchmark::Phase, std::string_view>, 5> kPhaseNames{{
    {Benchmark::Phase::warmUp, "warm-up"},
    {Benchmark::Phase::singleCalibration, "single calibration"},
    {Benchmark::Phase::single, "single"},
    {Benchmark::Phase::multiCalibration, "multi calibration"},
    {Benchmark::Phase::multi, "multi"},
}};

std::string fieldText(const std::string& text) { return text; }
std::string fieldText(std::int64_t number) { return std::to_string(number); }

} // namespace

std::string benchResultLines(const BenchResult& result)
{
    std::string out;
    const auto fields = result.fields();
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((out += BenchResult::fieldNames[I], out += ": ", out += fieldText(std::get<I>(fields)), out += '\n'), ...);
    }(std::make_index_sequence<BenchResult::fieldNames.size()>{});
    return out;
}

std::string benchProgressText(Benchmark::Phase phase, int round, int total)
{
    std::string text;
    for (const auto& [candidate, name] : kPhaseNames) {
        if (candidate == phase) {
            text = name;
            break;
        }
    }
    if (total > 0) {
        text += ' ';
        text += std::to_string(round);
        text += '/';
        text += std::to_string(total);
    }
    return text;
}

} // namespace veltrin
