#include "bench/result_text.h"

#include "core/fixed_decimal.h"
#include "core/json.h"

#include <string_view>
#include <tuple>
#include <utility>

namespace veltrin {
namespace {

std::string fieldText(const std::string& text) { return text; }
std::string fieldText(std::int64_t number) { return std::to_string(number); }

} // namespace

std::string roundTimesJson(const std::vector<RoundTime>& rounds)
{
    std::string out = "[";
    for (const RoundTime& round : rounds) {
        if (out.size() > 1)
            out += ',';
        out += "{\"seconds\":" + fixedDecimal(round.seconds, 6) + ",\"trimmed\":" + (round.trimmed ? "true" : "false") +
               '}';
    }
    return out + ']';
}

std::string benchResultLines(const BenchResult& result)
{
    std::string out;
    const auto fields = result.fields();
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((out += BenchResult::fieldNames[I], out += ": ", out += fieldText(std::get<I>(fields)), out += '\n'), ...);
    }(std::make_index_sequence<BenchResult::fieldNames.size()>{});
    return out;
}

std::string benchRunJson(const BenchRun& run)
{
    std::string json = toJson(run.result);
    json.pop_back(); // the closing brace: the details follow the result's own fields
    const BenchDetails& details = run.details;
    json += ",\"singleCV\":" + fixedDecimal(details.singleCV, 3) + ",\"multiCV\":" + fixedDecimal(details.multiCV, 3) +
            ",\"threadsRequested\":" + std::to_string(details.threadsRequested) +
            ",\"threadsRan\":" + std::to_string(details.threadsRan) +
            ",\"singleRounds\":" + roundTimesJson(details.singleRounds) +
            ",\"multiRounds\":" + roundTimesJson(details.multiRounds) + '}';
    return json;
}

std::string benchProgressText(Benchmark::Phase phase, int round)
{
    using Benchmark::Phase;
    constexpr int allRounds = Benchmark::kSingleRounds + Benchmark::kMultiRounds;
    const auto roundText = [&](int overall, std::string_view series) {
        return "round " + std::to_string(overall) + " of " + std::to_string(allRounds) + ", " + std::string(series);
    };
    switch (phase) {
    case Phase::warmUp:
        return "warming up";
    case Phase::singleCalibration:
        return "calibrating, single";
    case Phase::single:
        return roundText(round, "single");
    case Phase::multiCalibration:
        return "calibrating, multi";
    case Phase::multi:
        return roundText(Benchmark::kSingleRounds + round, "multi");
    }
    return {};
}

} // namespace veltrin
